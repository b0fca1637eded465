#include "sheet/money.h"

#include <QTest>

#include <limits>

class TestMoney : public QObject
{
    Q_OBJECT

private slots:
    void readMoneyValue_data();
    void readMoneyValue();
    void leadingNumber_data();
    void leadingNumber();
    void rawEntry_data();
    void rawEntry();
    void moneyText_data();
    void moneyText();
    void plainNumberText_data();
    void plainNumberText();
};

void TestMoney::readMoneyValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("money text") << "$1,234.50" << 1234.5;
    QTest::newRow("negative money text") << "($75.00)" << -75.0;
    QTest::newRow("leading minus counts") << "-50" << -50.0;
    QTest::newRow("minus after blanks") << "  -50" << -50.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("digits kept in order") << "12abc34" << 1234.0;
    QTest::newRow("raw dollar entry") << "$1500" << 1500.0;
    QTest::newRow("minus inside is dropped") << "$1,000-5" << 10005.0;
    QTest::newRow("point first") << "$.50" << 0.5;
    QTest::newRow("too many digits to hold") << QString(400, u'9') << 0.0;
}

void TestMoney::readMoneyValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Money::ReadMoneyValue(text), value);
}

void TestMoney::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "1500" << 1500.0;
    QTest::newRow("blanks anywhere") << " 1 5\t0\n0" << 1500.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("comma stops") << "1,500" << 1.0;
    QTest::newRow("hexadecimal") << "&H1F" << 31.0;
    QTest::newRow("octal, lower case") << "&o17" << 15.0;
    QTest::newRow("exponent E") << "1E3" << 1000.0;
    QTest::newRow("exponent D") << "2D2" << 200.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("exponent without digits") << "7e" << 7.0;
    QTest::newRow("sign") << "-50" << -50.0;
    QTest::newRow("plus sign") << "+5x" << 5.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("fraction only") << ".25" << 0.25;
    QTest::newRow("overflow reads as 0") << "1e400" << 0.0;
    QTest::newRow("non-ASCII stops") << QString::fromUtf16(u"12\u20ac3") << 12.0;
}

void TestMoney::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Money::readLeadingNumber(text), value);
}

void TestMoney::rawEntry_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "1500" << 1500.0;
    QTest::newRow("thousands separators") << "1,234,567.891" << 1234567.891;
    QTest::newRow("parentheses") << "(50)" << -50.0;
    QTest::newRow("minus") << "-50" << -50.0;
    QTest::newRow("minus after blanks") << "  -1,500" << -1500.0;
    QTest::newRow("comma after the point stops") << "1.5,00" << 1.5;
    QTest::newRow("double comma stops") << "1,,500" << 1.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("hexadecimal") << "&H10" << 16.0;
    QTest::newRow("exponent") << "1.5E3" << 1500.0;
}

void TestMoney::rawEntry()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Money::readRawEntry(text), value);
}

void TestMoney::moneyText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("grouping") << 1234.5 << "$1,234.50";
    QTest::newRow("negative") << -75.0 << "($75.00)";
    QTest::newRow("zero") << 0.0 << "$0.00";
    QTest::newRow("half") << 0.5 << "$0.50";
    QTest::newRow("1.005 rounds up as typed") << 1.005 << "$1.01";
    QTest::newRow("2.675 rounds up as typed") << 2.675 << "$2.68";
    QTest::newRow("0.125 rounds up") << 0.125 << "$0.13";
    QTest::newRow("negative half rounds away from zero") << -0.125 << "($0.13)";
    QTest::newRow("just below half") << 0.12499 << "$0.12";
    QTest::newRow("tiny negative is zero") << -0.001 << "$0.00";
    QTest::newRow("carry into thousands") << 999.995 << "$1,000.00";
    QTest::newRow("binary noise") << 0.1 + 0.2 << "$0.30";
    QTest::newRow("large") << 1e15 << "$1,000,000,000,000,000.00";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "$0.00";
    QTest::newRow("millions") << 123456789.125 << "$123,456,789.13";
}

void TestMoney::moneyText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Money::moneyText(value), text);
}

void TestMoney::plainNumberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("decimals without trailing zeros") << 950.5 << "950.5";
    QTest::newRow("negative") << -250.0 << "-250";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("no separators") << 1234567.25 << "1234567.25";
    QTest::newRow("fifteen digits") << 0.1 + 0.2 << "0.3";
    QTest::newRow("exponent form") << 1e15 << "1E+15";
}

void TestMoney::plainNumberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Money::plainNumberText(value), text);
}

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
