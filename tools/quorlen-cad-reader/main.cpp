// quorlen-cad-reader step|iges FILE: parses a STEP or IGES file with Open
// CASCADE and writes the surface it holds (or why it holds none) to its
// standard output for the program that started it. A library parser can
// crash or loop on a damaged file; here that ends this process only.
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

#include "exchange/SurfaceExchange.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "step") != 0 && std::strcmp(argv[1], "iges") != 0)) {
    std::fputs("uso: quorlen-cad-reader step|iges ARCHIVO\n", stderr);
    return 2;
  }
  const CadFormat format = std::strcmp(argv[1], "step") == 0 ? CadFormat::Step : CadFormat::Iges;
  const std::string answer = CadReaderAnswer(format, argv[2]);
  size_t done = 0;
  while (done < answer.size()) {
    const ssize_t wrote = write(STDOUT_FILENO, answer.data() + done, answer.size() - done);
    if (wrote <= 0) _exit(1);
    done += static_cast<size_t>(wrote);
  }
  // No static destructors of the library and no leak report: the answer
  // is out, nothing else is owed.
  _exit(0);
}
