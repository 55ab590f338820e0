// A build without Open CASCADE (QUORLEN_EXCHANGE off): STEP and IGES are
// refused with the reason; meshes, the CSV and the reader's answer decoding
// stay.
#include "exchange/CadRawSurface.h"
#include "exchange/SurfaceExchange.h"

bool CadExchangeAvailable() { return false; }

bool WriteCadFile(CadFormat, const CadSurface&, const std::string&, UserMessage& error) {
  error = {MessageCode::NoCadExchange};
  return false;
}

bool ReadCadFile(CadFormat, const std::string&, CadSurface&, UserMessage& error) {
  error = {MessageCode::NoCadExchange};
  return false;
}

std::string CadReaderAnswer(CadFormat, const std::string&) {
  return cadraw::EncodeRefusal({MessageCode::NoCadExchange});
}
