#include "messages/MessageTable.h"

// lupdate collects the texts from these marks; without Qt they are the
// texts themselves.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

const char* MessageSource(MessageCode code) {
  // No default: the compiler names a code left without its text.
  switch (code) {
    case MessageCode::None:
    case MessageCode::Count:
      return "";
    case MessageCode::RangeCheck:
      return QT_TRANSLATE_NOOP("Message", "un valor se sale de su intervalo");
    case MessageCode::DivisionByZero:
      return QT_TRANSLATE_NOOP("Message", "una división por cero");
    case MessageCode::InvalidOperation:
      return QT_TRANSLATE_NOOP("Message", "una operación de coma flotante no válida");
    case MessageCode::FloatOverflow:
      return QT_TRANSLATE_NOOP("Message", "un número demasiado grande para la coma flotante");
    case MessageCode::FileMissing:
      return QT_TRANSLATE_NOOP("Message", "el archivo no existe");
    case MessageCode::FileUnreadable:
      return QT_TRANSLATE_NOOP("Message", "no se puede leer el archivo");
    case MessageCode::FileIsFolder:
      return QT_TRANSLATE_NOOP("Message", "es una carpeta, no un archivo");
    case MessageCode::FileNotRegular:
      return QT_TRANSLATE_NOOP("Message", "no es un archivo normal (es una tubería, un dispositivo o un conector)");
    case MessageCode::FileNameMissing:
      return QT_TRANSLATE_NOOP("Message", "falta el nombre del archivo");
    case MessageCode::OverwriteFolder:
      return QT_TRANSLATE_NOOP("Message", "es una carpeta, no un archivo normal: no se sobrescribe");
    case MessageCode::OverwriteDevice:
      return QT_TRANSLATE_NOOP("Message", "es un dispositivo, no un archivo normal: no se sobrescribe");
    case MessageCode::OverwritePipe:
      return QT_TRANSLATE_NOOP("Message", "es una tubería, no un archivo normal: no se sobrescribe");
    case MessageCode::OverwriteSocket:
      return QT_TRANSLATE_NOOP("Message", "es un socket, no un archivo normal: no se sobrescribe");
    case MessageCode::OverwriteOther:
      return QT_TRANSLATE_NOOP("Message", "no es un archivo normal: no se sobrescribe");
    case MessageCode::SystemError:
      return "%1";
    case MessageCode::FileIncomplete:
      return QT_TRANSLATE_NOOP("Message", "la superficie del archivo está incompleta");
    case MessageCode::DegreeUnsupported:
      return QT_TRANSLATE_NOOP("Message", "grado %1 no admitido");
    case MessageCode::DegreesDiffer:
      return QT_TRANSLATE_NOOP("Message", "grados %1 y %2 distintos no admitidos");
    case MessageCode::TooManyPoints:
      return QT_TRANSLATE_NOOP("Message", "más de 12 × 12 puntos");
    case MessageCode::KnotCountMismatch:
      return QT_TRANSLATE_NOOP("Message", "el número de nudos no corresponde al de puntos");
    case MessageCode::InvalidNumbers:
      return QT_TRANSLATE_NOOP("Message", "la superficie del archivo tiene números no válidos");
    case MessageCode::WeightNotPositive:
      return QT_TRANSLATE_NOOP("Message", "un peso no es positivo");
    case MessageCode::WeightOutOfRange:
      return QT_TRANSLATE_NOOP("Message", "un peso es demasiado grande o demasiado pequeño");
    case MessageCode::KnotsNotRepresentable:
      return QT_TRANSLATE_NOOP("Message", "nudos que las reglas no pueden representar");
    case MessageCode::ReaderMissing:
      return QT_TRANSLATE_NOOP("Message", "falta el programa lector %1");
    case MessageCode::ReaderNotStarted:
      return QT_TRANSLATE_NOOP("Message", "no se puede arrancar el lector de archivos");
    case MessageCode::FileDamaged:
      return QT_TRANSLATE_NOOP("Message", "El archivo está dañado o no se puede leer");
    case MessageCode::NoCadExchange:
      return QT_TRANSLATE_NOOP("Message", "Esta compilación no lee ni escribe STEP ni IGES");
    case MessageCode::FileEmpty:
      return QT_TRANSLATE_NOOP("Message", "el archivo está vacío");
    case MessageCode::ExportWithoutFirstRowAndColumn:
      return QT_TRANSLATE_NOOP(
          "Message",
          "sin la primera fila ni la primera columna de la red, que no tienen tramo de nudos y no se dibujan");
    case MessageCode::ExportWithoutFirstRow:
      return QT_TRANSLATE_NOOP("Message", "sin la primera fila de la red, que no tiene tramo de nudos y no se dibuja");
    case MessageCode::ExportWithoutFirstColumn:
      return QT_TRANSLATE_NOOP("Message",
                               "sin la primera columna de la red, que no tiene tramo de nudos y no se dibuja");
    case MessageCode::KnotsNotIncreasing:
      return QT_TRANSLATE_NOOP("Message", "los nudos no crecen de un extremo a otro de las reglas");
    case MessageCode::NumbersOutOfFileRange:
      return QT_TRANSLATE_NOOP("Message", "hay números demasiado grandes o pequeños para el archivo");
    case MessageCode::FileKnotsInvalid:
      return QT_TRANSLATE_NOOP("Message", "los nudos del archivo no son válidos");
    case MessageCode::NoControlPoints:
      return QT_TRANSLATE_NOOP("Message", "la superficie del archivo no tiene puntos de control");
    case MessageCode::ControlPointMissing:
      return QT_TRANSLATE_NOOP("Message", "un punto de control falta o no es un punto");
    case MessageCode::ControlPointNotThreeD:
      return QT_TRANSLATE_NOOP("Message", "un punto de control no tiene tres coordenadas");
    case MessageCode::RationalWithoutKnots:
      return QT_TRANSLATE_NOOP("Message", "superficie racional sin nudos");
    case MessageCode::SplineTypeUnsupported:
      return QT_TRANSLATE_NOOP("Message", "tipo de superficie B-spline no admitido");
    case MessageCode::WeightTableSize:
      return QT_TRANSLATE_NOOP("Message", "la tabla de pesos no tiene el tamaño de la red");
    case MessageCode::FileDataUnreadable:
      return QT_TRANSLATE_NOOP("Message", "la superficie del archivo tiene datos que no se pueden leer");
    case MessageCode::LengthUnitInvalid:
      return QT_TRANSLATE_NOOP("Message", "la unidad de longitud del archivo no es válida");
    case MessageCode::NotStepFile:
      return QT_TRANSLATE_NOOP("Message", "no es un archivo STEP legible");
    case MessageCode::NotIgesFile:
      return QT_TRANSLATE_NOOP("Message", "no es un archivo IGES legible");
    case MessageCode::NoSurfaceInFile:
      return QT_TRANSLATE_NOOP("Message", "el archivo no tiene ninguna superficie B-spline ni Bézier");
    case MessageCode::NetTooSmallForDegree:
      return QT_TRANSLATE_NOOP("Message", "la red es demasiado pequeña para el grado");
    case MessageCode::NoFaceForSurface:
      return QT_TRANSLATE_NOOP("Message", "Open CASCADE no construye una cara con esta superficie");
    case MessageCode::SurfaceNotWritten:
      return QT_TRANSLATE_NOOP("Message", "Open CASCADE no pudo escribir la superficie");
    case MessageCode::CadLibraryFailure:
      return QT_TRANSLATE_NOOP("Message", "Open CASCADE: %1");
    case MessageCode::MeshPointsNotFinite:
      return QT_TRANSLATE_NOOP("Message", "la superficie tiene puntos que no son números finitos");
    case MessageCode::MeshBeyondFloat:
      return QT_TRANSLATE_NOOP("Message",
                               "hay coordenadas de más de 3.4E38, que STL (números de 32 bits) no puede guardar; "
                               "OBJ, STEP e IGES sí");
    case MessageCode::MapOverflow:
      return QT_TRANSLATE_NOOP("Message",
                               "No se puede hacer el mapa: la curvatura no es finita en esta superficie (sus "
                               "valores desbordan los números)");
    case MessageCode::MapDivisionByZero:
      return QT_TRANSLATE_NOOP(
          "Message", "No se puede hacer el mapa: la curvatura no es finita en esta superficie (una división por cero)");
    case MessageCode::MapNotComputable:
      return QT_TRANSLATE_NOOP("Message", "No se puede hacer el mapa: la curvatura no se puede calcular en esta superficie");
    case MessageCode::MapNoValueTinyWeights:
      return QT_TRANSLATE_NOOP("Message",
                               "No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible "
                               "de esta superficie; sus pesos son demasiado pequeños (el mayor es %1): "
                               "multiplicarlos todos por un mismo número no cambia la superficie");
    case MessageCode::MapNoValueTinySurface:
      return QT_TRANSLATE_NOOP("Message",
                               "No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible "
                               "de esta superficie; la superficie es muy pequeña (su caja mide %1)");
    case MessageCode::MapNoValue:
      return QT_TRANSLATE_NOOP("Message",
                               "No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible "
                               "de esta superficie (es singular o no tiene derivadas exactas allí)");
    case MessageCode::UmbilicNoDirections:
      return QT_TRANSLATE_NOOP("Message",
                               "Ese punto debe de ser umbilical y no encuentro direcciones principales distinguidas");
    case MessageCode::UmbilicLemon:
      return QT_TRANSLATE_NOOP("Message", "limón");
    case MessageCode::UmbilicStar:
      return QT_TRANSLATE_NOOP("Message", "estrella");
    case MessageCode::UmbilicMonstar:
      return QT_TRANSLATE_NOOP("Message", "monstar");
    case MessageCode::UmbilicDegenerate:
      return QT_TRANSLATE_NOOP("Message", "degenerado");
    case MessageCode::ShapeSphereOctant:
      return QT_TRANSLATE_NOOP("Message", "Octante de esfera");
    case MessageCode::ShapeHalfSphere:
      return QT_TRANSLATE_NOOP("Message", "Semiesfera");
    case MessageCode::ShapeEllipsoid:
      return QT_TRANSLATE_NOOP("Message", "Elipsoide");
    case MessageCode::ShapeExactCylinder:
      return QT_TRANSLATE_NOOP("Message", "Cilindro exacto");
    case MessageCode::MapShading:
      return QT_TRANSLATE_NOOP("Message", "Sombreado");
    case MessageCode::MapGauss:
      return QT_TRANSLATE_NOOP("Message", "Curvatura de Gauss (K)");
    case MessageCode::MapMean:
      return QT_TRANSLATE_NOOP("Message", "Curvatura media (H)");
    case MessageCode::MapK1:
      return QT_TRANSLATE_NOOP("Message", "Curvatura principal máxima (k1)");
    case MessageCode::MapK2:
      return QT_TRANSLATE_NOOP("Message", "Curvatura principal mínima (k2)");
    case MessageCode::MapAbsMax:
      return QT_TRANSLATE_NOOP("Message", "Curvatura absoluta máxima (max |k|)");
    case MessageCode::ScaleFixed:
      return QT_TRANSLATE_NOOP("Message", "Escala fija");
    case MessageCode::ScaleAutomatic:
      return QT_TRANSLATE_NOOP("Message", "Escala automática");
  }
  return "";
}

std::string FillArguments(std::string_view text, const std::vector<std::string>& args) {
  std::string out;
  out.reserve(text.size());
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '%' && k + 1 < text.size() && text[k + 1] >= '1' && text[k + 1] <= '9') {
      const size_t n = static_cast<size_t>(text[k + 1] - '1');
      if (n < args.size()) {
        out += args[n];
        ++k;
        continue;
      }
    }
    out += text[k];
  }
  return out;
}

std::string SpanishText(const UserMessage& message) { return FillArguments(MessageSource(message.code), message.args); }

std::ostream& operator<<(std::ostream& out, const UserMessage& message) { return out << SpanishText(message); }
