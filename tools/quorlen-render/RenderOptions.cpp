#include "tools/quorlen-render/RenderOptions.h"

#include <cstring>

#include "model/Shapes.h"
#include "platform/NumberFormat.h"
#include "tools/quorlen-render/Exports.h"
#include "tools/quorlen-render/OutputFiles.h"
#include "tools/quorlen-render/ToolText.h"

void Fail(const std::string& option, const std::string& what) { throw OptionError{option + ": " + what}; }

namespace {

std::vector<std::string> SplitCommas(const std::string& s) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = s.find(',', start);
    parts.push_back(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

// Splits the value into exactly `count` comma-separated fields.
std::vector<std::string> Fields(const std::string& option, const std::string& value, size_t count,
                                 const char* form) {
  std::vector<std::string> f = SplitCommas(value);
  if (f.size() != count) Fail(option, Say(Tool::tr("se esperaba %1, no «%2»"), form, value));
  return f;
}

int IntField(const std::string& option, const std::string& s, const char* name) {
  int v;
  if (!ParseInt(s, v)) Fail(option, Say(Tool::tr("%1 no es un número entero: «%2»"), name, s));
  return v;
}

double RealField(const std::string& option, const std::string& s, const char* name) {
  double v;
  if (!ParseReal(s, v)) Fail(option, Say(Tool::tr("%1 no es un número finito: «%2»"), name, s));
  return v;
}

// A view position of a drag: the pointer may leave the view while the
// button is held, so any position within a screen's reach.
int DragCoordinate(const std::string& option, const std::string& s, const char* name) {
  const int v = IntField(option, s, name);
  if (v < -100000 || v > 100000) Fail(option, Say(Tool::tr("%1 ha de estar en -100000..100000"), name));
  return v;
}

// --move FX,FY,TX,TY[,ctrl|,shift] and --drag-node FX,FY,TX,TY[,up=K|,down=K].
DragAction ParseDrag(const std::string& option, const std::string& value, DragAction::Kind kind) {
  std::vector<std::string> f = SplitCommas(value);
  const bool move = kind == DragAction::Move;
  if (f.size() != 4 && f.size() != 5)
    Fail(option, Say(Tool::tr("se esperaba %1, no «%2»"),
                     move ? "FX,FY,TX,TY[,ctrl|,shift]" : "FX,FY,TX,TY[,up=K|,down=K]", value));
  DragAction a{kind, DragCoordinate(option, f[0], "FX"), DragCoordinate(option, f[1], "FY"),
               DragCoordinate(option, f[2], "TX"), DragCoordinate(option, f[3], "TY")};
  if (f.size() == 5) {
    const std::string& extra = f[4];
    if (move) {
      if (extra == "ctrl") a.ctrl = true;
      else if (extra == "shift") a.shift = true;
      else Fail(option, Say(Tool::tr("se esperaba ctrl o shift tras las posiciones, no «%1»"), extra));
    } else {
      const bool up = extra.rfind("up=", 0) == 0, down = extra.rfind("down=", 0) == 0;
      if (!up && !down) Fail(option, Say(Tool::tr("se esperaba up=K o down=K tras las posiciones, no «%1»"), extra));
      a.arrow = up ? 1 : -1;
      a.ticks = IntField(option, extra.substr(up ? 3 : 5), "K");
      if (a.ticks < 0 || a.ticks > 100000) Fail(option, Say(Tool::tr("K ha de estar en 0..100000")));
    }
  }
  return a;
}

template <class T>
void SetOnce(std::optional<T>& slot, const std::string& option, T value) {
  if (slot) Fail(option, GivenTwice());
  slot = std::move(value);
}

void SetFlag(bool& flag, const std::string& option) {
  if (flag) Fail(option, GivenTwice());
  flag = true;
}

}  // namespace

namespace {

// Each of these takes `opt` if it is one of its options (value() reads the
// option's value) and says whether it did.
template <class Value>
bool ModelOption(RenderOptions& o, const std::string& opt, Value& value) {
  if (opt == "--open") {
    SetOnce(o.open, opt, value());
  } else if (opt == "--size") {
    const auto f = Fields(opt, value(), 2, "M,N");
    const int m = IntField(opt, f[0], "M"), n = IntField(opt, f[1], "N");
    if (m < 1 || m > 11 || n < 1 || n > 11) Fail(opt, Say(Tool::tr("M y N han de estar en 1..11")));
    SetOnce(o.size, opt, std::make_pair(m, n));
  } else if (opt == "--shape") {
    const std::string v = value();
    ExactShape exact;
    if (v != "plane" && v != "cylinder" && v != "sphere" && !ExactShapeFromWord(v.c_str(), exact))
      Fail(opt, Say(Tool::tr("se esperaba plane, cylinder, sphere, octant, hemisphere, ellipsoid o exact-cylinder, "
                             "no «%1»"),
                    v));
    SetOnce(o.shape, opt, v);
  } else if (opt == "--kind") {
    const std::string v = value();
    int kind = 0;
    if (v == "bezier") kind = 1;
    else if (v == "bspline2") kind = 2;
    else if (v == "bspline3") kind = 3;
    else Fail(opt, Say(Tool::tr("se esperaba bezier, bspline2 o bspline3, no «%1»"), v));
    SetOnce(o.kind, opt, kind);
  } else if (opt == "--rational") {
    SetFlag(o.rational, opt);
  } else if (opt == "--point") {
    const auto f = Fields(opt, value(), 5, "I,J,X,Y,Z");
    o.points.push_back(PointEdit{IntField(opt, f[0], "I"), IntField(opt, f[1], "J"), RealField(opt, f[2], "X"),
                                 RealField(opt, f[3], "Y"), RealField(opt, f[4], "Z")});
  } else if (opt == "--weight") {
    const auto f = Fields(opt, value(), 3, "I,J,W");
    const WeightEdit w{IntField(opt, f[0], "I"), IntField(opt, f[1], "J"), RealField(opt, f[2], "W")};
    if (w.w < 0) Fail(opt, Say(Tool::tr("el peso no puede ser negativo")));
    o.weights.push_back(w);
  } else if (opt == "--tick-u" || opt == "--tick-v") {
    const auto f = Fields(opt, value(), 2, "K,POS");
    const TickEdit t{IntField(opt, f[0], "K"), IntField(opt, f[1], "POS")};
    // Checked here, before any arithmetic on the position.
    if (t.pos < 2 || t.pos > 156) Fail(opt, Say(Tool::tr("POS ha de estar en la regla, 2..156")));
    (opt == "--tick-u" ? o.ticksU : o.ticksV).push_back(t);
  } else if (opt == "--undo" || opt == "--redo") {
    const int k = IntField(opt, value(), "K");
    if (k < 1) Fail(opt, Say(Tool::tr("K ha de ser 1 o más")));
    size_t& slot = opt == "--undo" ? o.undo : o.redo;
    if (slot != 0) Fail(opt, GivenTwice());
    slot = static_cast<size_t>(k);
  } else {
    return false;
  }
  return true;
}

template <class Value>
bool OutputOption(RenderOptions& o, const std::string& opt, Value& value) {
  const std::pair<const char*, std::optional<std::string>*> files[] = {
      {"--png", &o.png},   {"--shade-map", &o.shadeMap}, {"--depth-map", &o.depthMap},
      {"--polylines", &o.polylines}, {"--save", &o.save}, {"--segments", &o.segments},
      {"--preview-map", &o.previewMap}};
  for (const auto& [name, slot] : files)
    if (opt == name) {
      SetOnce(*slot, opt, value());
      return true;
    }
  const std::pair<const char*, bool*> flags[] = {{"--net", &o.net},
                                                 {"--cube", &o.cube},
                                                 {"--camera", &o.camera},
                                                 {"--fit", &o.fit},
                                                 {"--coord-lines", &o.coordLines},
                                                 {"--curvature-lines", &o.curvatureLines}};
  for (const auto& [name, flag] : flags)
    if (opt == name) {
      SetFlag(*flag, opt);
      return true;
    }
  return false;
}

template <class Value>
bool PointerOption(RenderOptions& o, const std::string& opt, Value& value) {
  if (opt == "--probe" || opt == "--click") {
    const auto f = Fields(opt, value(), 2, "X,Y");
    const int x = IntField(opt, f[0], "X"), y = IntField(opt, f[1], "Y");
    o.pointer.push_back(PointerAction{opt == "--probe" ? PointerAction::Probe : PointerAction::Click, x, y});
  } else if (opt == "--move" || opt == "--drag-node") {
    o.drags.push_back(ParseDrag(opt, value(), opt == "--move" ? DragAction::Move : DragAction::Node));
  } else {
    return false;
  }
  return true;
}

// --view W,H: each side in 64..4096.
bool ViewOption(RenderOptions& o, const std::string& opt, const std::string& value) {
  const auto f = Fields(opt, value, 2, "W,H");
  const int w = IntField(opt, f[0], "W"), h = IntField(opt, f[1], "H");
  auto inRange = [](int v) { return v >= ViewSize::kMinSide && v <= ViewSize::kMaxSide; };
  if (!inRange(w) || !inRange(h))
    Fail(opt, Say(Tool::tr("W y H han de estar en %1..%2"), ViewSize::kMinSide, ViewSize::kMaxSide));
  o.view = ViewSize{w, h};
  return true;
}

// The pointer's pixels in the view (its size may come after them).
void CheckPointerPixels(const RenderOptions& o) {
  const int W = o.view.width, H = o.view.height;
  for (const PointerAction& a : o.pointer) {
    if (a.x >= 0 && a.x < W && a.y >= 0 && a.y < H) continue;
    const std::string opt = a.kind == PointerAction::Probe ? "--probe" : "--click";
    if (W == H) Fail(opt, Say(Tool::tr("X e Y han de estar en la vista, 0..%1"), W - 1));
    Fail(opt, Say(Tool::tr("X e Y han de estar en la vista, X en 0..%1 e Y en 0..%2"), W - 1, H - 1));
  }
}

// Options that only make sense together.
void CheckCombinations(const RenderOptions& o) {
  if ((o.net || o.cube) && !o.png && !o.exportPng && !o.exportSvg)
    Fail(o.net ? "--net" : "--cube", Say(Tool::tr("solo dibuja sobre --png, --export-png o --export-svg ARCHIVO")));
  bool clicks = false;
  for (const PointerAction& a : o.pointer) clicks = clicks || a.kind == PointerAction::Click;
  if (clicks && !o.coordLines && !o.curvatureLines)
    Fail("--click", Say(Tool::tr("necesita --coord-lines o --curvature-lines")));
  if (!clicks && (o.coordLines || o.curvatureLines))
    Fail(o.coordLines ? "--coord-lines" : "--curvature-lines", Say(Tool::tr("solo traza por un --click X,Y")));
  if (!clicks && o.segments && !o.analysis.curvatureNet)
    Fail("--segments", Say(Tool::tr("solo lista las líneas de un --click X,Y o de --curvature-net")));
  bool moves = false;
  for (const DragAction& d : o.drags) moves = moves || d.kind == DragAction::Move;
  if (o.previewMap && !moves) Fail("--preview-map", Say(Tool::tr("solo muestra la vista previa de un --move")));
}

}  // namespace

RenderOptions ParseOptions(int argc, char** argv) {
  RenderOptions o;
  for (int a = 1; a < argc; ++a) {
    const std::string opt = argv[a];
    auto value = [&]() -> std::string {
      // "--png --net" means a forgotten value, not a file named "--net".
      if (a + 1 >= argc || std::strncmp(argv[a + 1], "--", 2) == 0) Fail(opt, Say(Tool::tr("necesita un valor")));
      return argv[++a];
    };
    if (opt == "--help" || opt == "-h")
      o.help = true;
    else if (opt == "--view" && ViewOption(o, opt, value()))
      continue;
    else if (ModelOption(o, opt, value) || OutputOption(o, opt, value) || PointerOption(o, opt, value) ||
             AnalysisOption(o.analysis, opt, a + 1 < argc ? argv[a + 1] : nullptr, value) ||
             MapOption(o.map, opt, value) || ExportOption(o, opt, value))
      continue;
    else if (opt.rfind("-", 0) == 0)
      Fail(opt, Say(Tool::tr("opción desconocida (véase --help)")));
    else
      Fail(opt, Say(Tool::tr("argumento inesperado (véase --help)")));
  }
  if (!o.help) {
    CheckPointerPixels(o);
    CheckCombinations(o);
    CheckMapOptions(o.map);
    CheckAnalysisOptions(o.analysis, o.map.quantity != MapQuantity::None, o.png.has_value(), o.segments.has_value());
    CheckOutputFiles(o);
  }
  return o;
}

std::string GivenTwice() { return Say(QCoreApplication::translate("Tool", "aparece más de una vez")); }

std::string UsageText() {
  const QString sections[] = {
      QCoreApplication::translate("Tool",
        "Uso: quorlen-render [opciones]\n"
        "Dibuja una superficie como «Dibújala» en la ventana y escribe lo que se pida.\n"
        "Sin --open se dibuja el modelo de inicio: la esfera unidad de 12 x 7, Bézier.\n"
        "\n"),
      QCoreApplication::translate("Tool",
        "Modelo (se aplica en este orden, sea cual sea el orden dado):\n"
        "  --open ARCHIVO      lee un archivo de superficie (.yqs: se conserva su vista;\n"
        "                      o STEP, IGES: véanse las exportaciones)\n"
        "  --size M,N          tamaño de la red, M y N en 1..11 (como al escribir m\n"
        "                      y n): puntos nuevos en el origen, nudos repartidos por\n"
        "                      igual\n"
        "  --shape S           plane, cylinder o sphere (plano, cilindro o esfera) del\n"
        "                      tamaño actual; o una cuádrica racional exacta con su\n"
        "                      propio tamaño y pesos: octant (octante de esfera),\n"
        "                      hemisphere (semiesfera), ellipsoid (elipsoide),\n"
        "                      exact-cylinder (cilindro exacto)\n"
        "  --kind K            bezier, bspline2 o bspline3\n"
        "  --rational          superficie racional (cuentan los pesos)\n"
        "  --point I,J,X,Y,Z   punto de control (I,J) := (X,Y,Z); repetible\n"
        "  --weight I,J,W      peso del punto de control (I,J), W >= 0; repetible\n"
        "  --tick-u K,POS      pone el nudo interior K de la regla horizontal en el\n"
        "                      píxel POS (2..156); repetible. Los nudos han de quedar\n"
        "                      en orden, a 2 píxeles o más uno de otro, como los deja\n"
        "                      el arrastre\n"
        "  --tick-v K,POS      lo mismo en la regla vertical (156 abajo, 2 arriba);\n"
        "                      repetible\n"
        "  --undo K            luego deshace los K últimos de esos cambios (cada opción\n"
        "                      de arriba, cada --point, --weight y nudo es un cambio)\n"
        "  --redo K            luego rehace K de los cambios deshechos\n"
        "\n"),
      QCoreApplication::translate("Tool",
        "Vista:\n"
        "  --view W,H          ancho y alto de la vista en píxeles, cada uno en 64..4096\n"
        "                      (por omisión 416,416): la caja ocupa el 95 % del lado\n"
        "                      menor, y las longitudes en píxeles (pasos de las líneas\n"
        "                      trazadas, separación de la red, marcas, leyenda) crecen\n"
        "                      con ella: una vista el doble de grande muestra la misma\n"
        "                      imagen con el doble de detalle. Cada píxel que nombra una\n"
        "                      opción (--probe, --click, --move, --drag-node) es un\n"
        "                      píxel de esta vista. La vista de un archivo de superficie\n"
        "                      se muestra como a 416 x 416, escalada y centrada; --save\n"
        "                      escribe la vista escalada de vuelta a 416 x 416\n"
        "\n"),
      QCoreApplication::translate("Tool",
        "Salidas (se escriben tras el dibujo):\n"
        "  --png ARCHIVO       la imagen de W x H\n"
        "  --net, --cube       dibujan la red de control y la caja sobre la imagen --png\n"
        "  --shade-map ARCHIVO los índices de sombreado de W x H, un byte cada uno,\n"
        "                      (x, y) en x*H+y\n"
        "  --depth-map ARCHIVO las profundidades de los píxeles de la vista, int32\n"
        "                      little-endian, en el mismo orden\n"
        "  --polylines ARCHIVO la caja y las aristas de la red trazadas, como texto\n"
        "  --save ARCHIVO.yqs  el archivo de superficie con la vista (y la marca de\n"
        "                      racional y los nudos, si no son los simples y uniformes)\n"
        "  --camera            escribe los valores de la cámara\n"
        "  Cada archivo se escribe entero a través de un archivo temporal a su lado\n"
        "  (siguiendo los enlaces, con sus permisos); se rechaza un dispositivo, una\n"
        "  tubería o una carpeta, y son valores erróneos dos opciones que nombran un\n"
        "  mismo archivo, se escriba como se escriba, o un nombre vacío\n"
        "\n"),
      QCoreApplication::translate("Tool",
        "Arrastres (tras el dibujo, en el orden dado; posiciones en -100000..100000):\n"
        "  --move FX,FY,TX,TY[,ctrl|,shift]\n"
        "                      un paso de vista previa de «Superficie movible» desde el\n"
        "                      píxel FX,FY de la vista hasta TX,TY, sea cual sea la\n"
        "                      distancia: la bola virtual gira la superficie, ctrl la\n"
        "                      desplaza, shift la acerca o aleja; repetible. Tras el\n"
        "                      último de una serie de movimientos la imagen se dibuja\n"
        "                      de nuevo con la vista conservada, como al soltar el botón\n"
        "  --fit               tras los arrastres, encuadra la vista de nuevo y vuelve\n"
        "                      a dibujar, como «Encuadrar»\n"
        "  --preview-map ARCHIVO\n"
        "                      la imagen del último paso de vista previa, bytes RGB en\n"
        "                      bruto de W x H, fila a fila desde arriba\n"
        "  --drag-node FX,FY,TX,TY[,up=K|,down=K]\n"
        "                      en «Modificar nodos», pulsa sobre el punto de control\n"
        "                      a 9 píxeles o menos de FX,FY (a 416 x 416, escalados con\n"
        "                      la vista), lo lleva a TX,TY como un paso del\n"
        "                      temporizador, y luego K pasos más con la flecha arriba\n"
        "                      (más cerca) o abajo (más lejos) pulsada; luego vuelve a\n"
        "                      dibujar como al soltar.\n"
        "                      Escribe \"node I J X Y Z\" (las coordenadas del panel) o\n"
        "                      \"node I J unmoved\"; repetible. Se rechaza una pulsación\n"
        "                      que no coge ningún punto\n"
        "\n"),
      QCoreApplication::translate("Tool",
        "Puntero (tras el dibujo y los arrastres, en el orden dado; X en 0..W-1,\n"
        "Y en 0..H-1):\n"
        "  --probe X,Y         escribe la lectura del píxel X,Y de la vista como la\n"
        "                      muestra «Superficie movible»: u v x y z K H k1 k2 en una\n"
        "                      línea (\"-\" para una curvatura que le falta a un punto\n"
        "                      singular), o \"-\" donde no se ve la superficie; repetible\n"
        "  --click X,Y         pulsa en X,Y fuera de los modos de mover y de modificar\n"
        "                      nodos: las líneas activadas abajo van a la imagen --png,\n"
        "                      y se escribe el mensaje de un punto umbílico; repetible\n"
        "  --coord-lines       «Líneas coordenadas» activadas\n"
        "  --curvature-lines   «Líneas de curvatura» activadas (el recorrido de cada\n"
        "                      familia que se traza primero es fijo, no al azar)\n"
        "  --segments ARCHIVO  por cada pulsación una línea \"click X Y\", luego cada\n"
        "                      línea dibujada: \"x0 y0 x1 y1 BBGGRR\" (píxeles de los\n"
        "                      extremos, color de la pluma 0x00BBGGRR)\n"
        "\n")
  };
  std::string text;
  for (const QString& s : sections) text += Say(s);
  return text + ExportUsage() + MapUsage() + AnalysisUsage() +
         Say(QCoreApplication::translate("Tool",
        "  --help              este texto\n"
        "\n"
        "Estado de salida: 0 hecho; 1 el modelo no se puede dibujar o un archivo no se\n"
        "puede escribir; 2 una opción o un valor erróneos (no se escribe nada).\n"));
}
