// The panel's number texts: rounding, exponent form and reading back.
#include <QtTest>
#include <cmath>
#include <limits>

#include "platform/NumberFormat.h"

class NumberFormatTest : public QObject {
  Q_OBJECT

 private slots:
  void fixedThreeDecimals_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("one") << 1.0 << "1.000";
    QTest::newRow("zero") << 0.0 << "0.000";
    QTest::newRow("negative zero") << -0.0 << "0.000";
    QTest::newRow("tiny negative") << -0.0004 << "0.000";
    QTest::newRow("half away from zero") << 0.0625 << "0.063";
    QTest::newRow("half away, negative") << -0.0625 << "-0.063";
    QTest::newRow("binary value below the half") << 0.0005 << "0.001";  // 0.0005 is stored a bit above
    QTest::newRow("binary value just below") << 1.0005 << "1.000";     // 1.0005 is stored a bit below
    QTest::newRow("four digits win") << 12.3456 << "12.350";
    QTest::newRow("three before the point") << 123.456 << "123.500";
    QTest::newRow("four before the point") << 1234.5 << "1235.000";
    QTest::newRow("carry") << 9.9996 << "10.000";
    QTest::newRow("carry into exponent form") << 9999.6 << "1E4";
    QTest::newRow("exponent form") << 12345.678 << "1.235E4";
    QTest::newRow("exponent, negative") << -2.5e12 << "-2.5E12";
    QTest::newRow("exponent, round") << 100000.0 << "1E5";
    QTest::newRow("sphere") << std::sin(3.14159265358979323846 / 6) << "0.500";
    QTest::newRow("small") << 0.000123 << "0.000";
    QTest::newRow("cos") << -0.8660254037844386 << "-0.866";
  }
  void fixedThreeDecimals() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(FormatFixed(value, 3)), text);
  }

  void fixedTwoDecimals() {
    QCOMPARE(QString::fromStdString(FormatFixed(0.5, 2)), QStringLiteral("0.50"));
    QCOMPARE(QString::fromStdString(FormatFixed(0.123456, 2)), QStringLiteral("0.12"));
    QCOMPARE(QString::fromStdString(FormatFixed(1.0 / 11, 2)), QStringLiteral("0.09"));
    QCOMPARE(QString::fromStdString(FormatFixed(0.125, 2)), QStringLiteral("0.13"));
  }

  void readingReals() {
    double v = 0;
    QVERIFY(ParseReal("  1.5 ", v));
    QCOMPARE(v, 1.5);
    QVERIFY(ParseReal("-.5", v));
    QCOMPARE(v, -0.5);
    QVERIFY(ParseReal("+2.", v));
    QCOMPARE(v, 2.0);
    QVERIFY(ParseReal("1E3", v));
    QCOMPARE(v, 1000.0);
    QVERIFY(ParseReal("2.5e-1", v));
    QCOMPARE(v, 0.25);
    QVERIFY(ParseReal("1e-400", v));  // below the smallest double: zero
    QCOMPARE(v, 0.0);
    v = 7;
    for (const char* bad : {"", " ", "-", ".", "1,5", "1.2.3", "e5", "1e", "1e+", "inf", "nan", "0x1p3", "1e400",
                            "12a", "- 1"})
      QVERIFY2(!ParseReal(bad, v), bad);
    QCOMPARE(v, 7.0);  // untouched by a refused text
    // Every panel text reads back as the value it shows.
    for (double x : {0.0625, -12.3456, 1.0, 0.866}) {
      QVERIFY(ParseReal(FormatFixed(x, 3), v));
      QCOMPARE(FormatFixed(v, 3), FormatFixed(x, 3));
    }
  }

  void readingIntegers() {
    int v = 0;
    QVERIFY(ParseInt(" 11 ", v));
    QCOMPARE(v, 11);
    QVERIFY(ParseInt("-1", v));
    QCOMPARE(v, -1);
    QVERIFY(ParseInt("+3", v));
    QCOMPARE(v, 3);
    QVERIFY(ParseInt("-2147483648", v));
    QCOMPARE(v, std::numeric_limits<int>::min());
    for (const char* bad : {"", "-", "1.0", "3a", "2147483648", "99999999999999999999", "1 2"})
      QVERIFY2(!ParseInt(bad, v), bad);
  }
};

QTEST_MAIN(NumberFormatTest)
#include "tst_numberformat.moc"
