// The core's messages as the user reads them: every code has its text, the
// Spanish texts are those the program has always shown, and a translator
// installed in the application is asked for each of them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

#include <regex>
#include <set>
#include <string>

#include "exchange/SurfaceExchange.h"
#include "render/CurvatureMap.h"
#include "messages/Language.h"
#include "messages/MessageTable.h"
#include "messages/MessageText.h"

namespace {

using C = MessageCode;

struct Case {
  C code;
  std::vector<std::string> args;
  const char* text;
};

// Each code with sample arguments and the exact text shown for it.
const Case kCases[] = {
    {C::RangeCheck, {}, "un valor se sale de su intervalo"},
    {C::DivisionByZero, {}, "una división por cero"},
    {C::InvalidOperation, {}, "una operación de coma flotante no válida"},
    {C::FloatOverflow, {}, "un número demasiado grande para la coma flotante"},
    {C::FileMissing, {}, "el archivo no existe"},
    {C::FileUnreadable, {}, "no se puede leer el archivo"},
    {C::FileIsFolder, {}, "es una carpeta, no un archivo"},
    {C::FileNotRegular, {}, "no es un archivo normal (es una tubería, un dispositivo o un conector)"},
    {C::FileNameMissing, {}, "falta el nombre del archivo"},
    {C::OverwriteFolder, {}, "es una carpeta, no un archivo normal: no se sobrescribe"},
    {C::OverwriteDevice, {}, "es un dispositivo, no un archivo normal: no se sobrescribe"},
    {C::OverwritePipe, {}, "es una tubería, no un archivo normal: no se sobrescribe"},
    {C::OverwriteSocket, {}, "es un socket, no un archivo normal: no se sobrescribe"},
    {C::OverwriteOther, {}, "no es un archivo normal: no se sobrescribe"},
    {C::SystemError, {"No space left on device"}, "No space left on device"},
    {C::FileIncomplete, {}, "la superficie del archivo está incompleta"},
    {C::DegreeUnsupported, {"2147483647"}, "grado 2147483647 no admitido"},
    {C::DegreesDiffer, {"3", "2"}, "grados 3 y 2 distintos no admitidos"},
    {C::TooManyPoints, {}, "más de 12 × 12 puntos"},
    {C::KnotCountMismatch, {}, "el número de nudos no corresponde al de puntos"},
    {C::InvalidNumbers, {}, "la superficie del archivo tiene números no válidos"},
    {C::WeightNotPositive, {}, "un peso no es positivo"},
    {C::WeightOutOfRange, {}, "un peso es demasiado grande o demasiado pequeño"},
    {C::KnotsNotRepresentable, {}, "nudos que las reglas no pueden representar"},
    {C::ReaderMissing, {"/opt/q/quorlen-cad-reader"}, "falta el programa lector /opt/q/quorlen-cad-reader"},
    {C::ReaderNotStarted, {}, "no se puede arrancar el lector de archivos"},
    {C::FileDamaged, {}, "El archivo está dañado o no se puede leer"},
    {C::NoCadExchange, {}, "Esta compilación no lee ni escribe STEP ni IGES"},
    {C::FileEmpty, {}, "el archivo está vacío"},
    {C::ExportWithoutFirstRowAndColumn,
     {},
     "sin la primera fila ni la primera columna de la red, que no tienen tramo de nudos y no se dibujan"},
    {C::ExportWithoutFirstRow, {}, "sin la primera fila de la red, que no tiene tramo de nudos y no se dibuja"},
    {C::ExportWithoutFirstColumn, {}, "sin la primera columna de la red, que no tiene tramo de nudos y no se dibuja"},
    {C::KnotsNotIncreasing, {}, "los nudos no crecen de un extremo a otro de las reglas"},
    {C::NumbersOutOfFileRange, {}, "hay números demasiado grandes o pequeños para el archivo"},
    {C::FileKnotsInvalid, {}, "los nudos del archivo no son válidos"},
    {C::NoControlPoints, {}, "la superficie del archivo no tiene puntos de control"},
    {C::ControlPointMissing, {}, "un punto de control falta o no es un punto"},
    {C::ControlPointNotThreeD, {}, "un punto de control no tiene tres coordenadas"},
    {C::RationalWithoutKnots, {}, "superficie racional sin nudos"},
    {C::SplineTypeUnsupported, {}, "tipo de superficie B-spline no admitido"},
    {C::WeightTableSize, {}, "la tabla de pesos no tiene el tamaño de la red"},
    {C::FileDataUnreadable, {}, "la superficie del archivo tiene datos que no se pueden leer"},
    {C::LengthUnitInvalid, {}, "la unidad de longitud del archivo no es válida"},
    {C::NotStepFile, {}, "no es un archivo STEP legible"},
    {C::NotIgesFile, {}, "no es un archivo IGES legible"},
    {C::NoSurfaceInFile, {}, "el archivo no tiene ninguna superficie B-spline ni Bézier"},
    {C::NetTooSmallForDegree, {}, "la red es demasiado pequeña para el grado"},
    {C::NoFaceForSurface, {}, "Open CASCADE no construye una cara con esta superficie"},
    {C::SurfaceNotWritten, {}, "Open CASCADE no pudo escribir la superficie"},
    {C::CadLibraryFailure, {"Standard_OutOfRange"}, "Open CASCADE: Standard_OutOfRange"},
    {C::MeshPointsNotFinite, {}, "la superficie tiene puntos que no son números finitos"},
    {C::MeshBeyondFloat,
     {},
     "hay coordenadas de más de 3.4E38, que STL (números de 32 bits) no puede guardar; OBJ, STEP e IGES sí"},
    {C::MapOverflow,
     {},
     "No se puede hacer el mapa: la curvatura no es finita en esta superficie (sus valores desbordan los números)"},
    {C::MapDivisionByZero,
     {},
     "No se puede hacer el mapa: la curvatura no es finita en esta superficie (una división por cero)"},
    {C::MapNotComputable, {}, "No se puede hacer el mapa: la curvatura no se puede calcular en esta superficie"},
    {C::MapNoValueTinyWeights,
     {"1E-300"},
     "No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible de esta superficie; sus "
     "pesos son demasiado pequeños (el mayor es 1E-300): multiplicarlos todos por un mismo número no cambia la "
     "superficie"},
    {C::MapNoValueTinySurface,
     {"2.5E-90"},
     "No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible de esta superficie; la "
     "superficie es muy pequeña (su caja mide 2.5E-90)"},
    {C::MapNoValue,
     {},
     "No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible de esta superficie (es "
     "singular o no tiene derivadas exactas allí)"},
    {C::UmbilicNoDirections, {}, "Ese punto debe de ser umbilical y no encuentro direcciones principales distinguidas"},
    {C::UmbilicLemon, {}, "limón"},
    {C::UmbilicStar, {}, "estrella"},
    {C::UmbilicMonstar, {}, "monstar"},
    {C::UmbilicDegenerate, {}, "degenerado"},
    {C::ShapeSphereOctant, {}, "Octante de esfera"},
    {C::ShapeHalfSphere, {}, "Semiesfera"},
    {C::ShapeEllipsoid, {}, "Elipsoide"},
    {C::ShapeExactCylinder, {}, "Cilindro exacto"},
    {C::MapShading, {}, "Sombreado"},
    {C::MapGauss, {}, "Curvatura de Gauss (K)"},
    {C::MapMean, {}, "Curvatura media (H)"},
    {C::MapK1, {}, "Curvatura principal máxima (k1)"},
    {C::MapK2, {}, "Curvatura principal mínima (k2)"},
    {C::MapAbsMax, {}, "Curvatura absoluta máxima (max |k|)"},
    {C::ScaleFixed, {}, "Escala fija"},
    {C::ScaleAutomatic, {}, "Escala automática"},
};

TEST(Messages, EveryCodeHasItsSpanishText) {
  std::set<C> covered;
  for (const Case& c : kCases) {
    const UserMessage m{c.code, c.args};
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SpanishText(m), c.text);
    EXPECT_EQ(MessageTextUtf8(m), c.text);
    EXPECT_EQ(MessageText(m), QString::fromUtf8(c.text));
    EXPECT_TRUE(covered.insert(c.code).second) << "listed twice";
  }
  // Every code up to the last has a text, and a case above.
  for (int k = static_cast<int>(C::None) + 1; k < static_cast<int>(C::Count); ++k) {
    EXPECT_STRNE(MessageSource(static_cast<C>(k)), "") << "code " << k;
    EXPECT_TRUE(covered.count(static_cast<C>(k))) << "code " << k << " has no case";
  }
  EXPECT_EQ(MessageText(UserMessage{}), QString());
}

TEST(Messages, ArgumentsAreFilledInOnePass) {
  const struct {
    const char* text;
    std::vector<std::string> args;
    const char* filled;
  } cases[] = {
      {"grados %1 y %2", {"3", "2"}, "grados 3 y 2"},
      {"grados %2 y %1", {"3", "2"}, "grados 2 y 3"},
      {"%1", {"%2"}, "%2"},             // an argument is not read as a text
      {"%1 y %2", {"a"}, "a y %2"},     // a missing argument leaves its mark
      {"100% de %1", {"x"}, "100% de x"},
      {"al final %", {"x"}, "al final %"},
  };
  for (const auto& c : cases) EXPECT_EQ(FillArguments(c.text, c.args), c.filled) << c.text;
}

// A translator that answers every text of the context "Message".
class Reverser : public QTranslator {
 public:
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (QByteArray(context) != "Message") return QString();
    return QStringLiteral("[en] ") + QString::fromUtf8(source);
  }
  bool isEmpty() const override { return false; }
};

TEST(Messages, AnInstalledTranslatorGivesTheText) {
  int argc = 1;
  char name[] = "test_messages";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  Reverser english;
  ASSERT_TRUE(QCoreApplication::installTranslator(&english));
  EXPECT_EQ(MessageTextUtf8({C::DegreesDiffer, {"3", "2"}}), "[en] grados 3 y 2 distintos no admitidos");
  EXPECT_EQ(MessageText({C::FileMissing}), QStringLiteral("[en] el archivo no existe"));
  // The untranslated text stays for logs and the core's tests.
  EXPECT_EQ(SpanishText({C::FileMissing}), "el archivo no existe");
  QCoreApplication::removeTranslator(&english);
  EXPECT_EQ(MessageTextUtf8({C::FileMissing}), "el archivo no existe");
}

// The reader process sends its refusals as codes with their arguments.
TEST(Messages, ReaderRefusalsCarryTheirCodeAndArguments) {
  const auto refusal = [](uint16_t code, std::vector<std::string> args) {
    std::string b("QCR1\001", 5);
    b.append(reinterpret_cast<const char*>(&code), 2);
    b.push_back(static_cast<char>(args.size()));
    for (const std::string& a : args) {
      const auto n = static_cast<uint16_t>(a.size());
      b.append(reinterpret_cast<const char*>(&n), 2);
      b += a;
    }
    return b;
  };
  const auto code = [](C c) { return static_cast<uint16_t>(c); };
  const UserMessage damaged{C::FileDamaged};
  const struct {
    std::string bytes;
    UserMessage reason;
  } cases[] = {
      {refusal(code(C::DegreesDiffer), {"3", "2"}), {C::DegreesDiffer, {"3", "2"}}},
      {refusal(code(C::NotStepFile), {}), {C::NotStepFile}},
      {refusal(code(C::None), {}), damaged},
      {refusal(code(C::Count), {}), damaged},
      {refusal(code(C::DegreeUnsupported), {"a", "b", "c", "d", "e"}), damaged},
      {refusal(code(C::DegreeUnsupported), {"\x01"}), damaged},
      {refusal(code(C::DegreeUnsupported), {"5"}) + "x", damaged},
      {refusal(code(C::DegreeUnsupported), {"5"}).substr(0, 10), damaged},
  };
  for (const auto& c : cases) {
    CadSurface s;
    UserMessage error;
    EXPECT_FALSE(DecodeCadAnswer(c.bytes, s, error));
    EXPECT_EQ(error, c.reason) << error;
  }
}

}  // namespace

// The language asked for, as gettext reads the environment.
TEST(Messages, LanguageFromTheEnvironment) {
  const QStringList available{"es", "en"};
  const struct {
    const char *language, *lcAll, *lcMessages, *lang, *chosen;
  } cases[] = {
      {"", "", "", "en_US.UTF-8", "en"},     {"", "", "", "es_ES.UTF-8", "es"},
      {"", "", "", "de_DE.UTF-8", "es"},     {"", "", "", "C.UTF-8", "es"},
      {"", "", "", "", "es"},                {"en:es", "", "", "es_ES.UTF-8", "en"},
      {"de:en", "", "", "de_DE", "en"},      {"en", "", "", "C", "es"},  // LANGUAGE is ignored under C
      {"", "es_MX", "", "en_GB", "es"},      {"", "", "en_AU@euro", "es_ES", "en"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LanguageFromEnvironment(available, c.language, c.lcAll, c.lcMessages, c.lang), c.chosen)
        << c.language << " " << c.lcAll << " " << c.lcMessages << " " << c.lang;
}

// Every built-in language keeps each message's placeholders, and the
// legend's texts can be drawn in the small font.
TEST(Messages, EveryLanguageKeepsPlaceholdersAndTheLegendsGlyphs) {
  int argc = 1;
  char name[] = "test_messages";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  const QStringList languages = AvailableLanguages();
  ASSERT_TRUE(languages.contains("en")) << languages.join(' ').toStdString();
  const auto placeholders = [](const std::string& s) {
    std::multiset<std::string> found;
    const std::regex mark("%[1-9]");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), mark); it != std::sregex_iterator(); ++it)
      found.insert(it->str());
    return found;
  };
  for (const QString& code : languages) {
    ASSERT_TRUE(InstallLanguage(code));
    for (int k = 0; k < static_cast<int>(C::Count); ++k) {
      const std::string source = MessageSource(static_cast<C>(k));
      const std::string text = QCoreApplication::translate("Message", source.c_str()).toStdString();
      EXPECT_EQ(placeholders(text), placeholders(source)) << code.toStdString() << ": " << source;
    }
    for (C c : {C::MapShading, C::MapGauss, C::MapMean, C::MapK1, C::MapK2, C::MapAbsMax, C::ScaleFixed,
                C::ScaleAutomatic})
      EXPECT_TRUE(SmallFontHasGlyphs(MessageTextUtf8({c}))) << code.toStdString() << ": " << MessageTextUtf8({c});
  }
  InstallLanguage("en");
  EXPECT_NE(MessageTextUtf8({C::FileMissing}), SpanishText({C::FileMissing}));
  InstallLanguage("es");
}
