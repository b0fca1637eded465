#include "core/sheet/money.h"

#include <QTest>

#include <limits>

class TestMoney : public QObject
{
    Q_OBJECT

private slots:
    // Each row names its reader: M is ReadMoneyValue (a cell's text), L readLeadingNumber
    // and R readRawEntry (what the user typed).
    void reading_data()
    {
        QTest::addColumn<char>("reader");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("M money text") << 'M' << "$1,234.50" << 1234.5;
        QTest::newRow("M parentheses") << 'M' << "($75.00)" << -75.0;
        QTest::newRow("M leading minus counts, after blanks") << 'M' << "  -50" << -50.0;
        QTest::newRow("M minus inside is dropped") << 'M' << "$1,000-5" << 10005.0;
        QTest::newRow("M second point stops") << 'M' << "1.2.3" << 1.2;
        QTest::newRow("M point first") << 'M' << "$.50" << 0.5;
        QTest::newRow("M too many digits to hold") << 'M' << QString(400, u'9') << 0.0;
        QTest::newRow("M fifteen digits") << 'M' << "$1,234,567,890,123.45" << 1234567890123.45;
        QTest::newRow("M sixteen digits") << 'M' << "$12,345,678,901,234.56" << 12345678901234.56;
        QTest::newRow("L blanks anywhere") << 'L' << " 1 5\t0\n0" << 1500.0;
        QTest::newRow("L second point stops") << 'L' << "1.2.3" << 1.2;
        QTest::newRow("L comma stops") << 'L' << "1,500" << 1.0;
        QTest::newRow("L hexadecimal") << 'L' << "&H1F" << 31.0;
        QTest::newRow("L octal, lower case") << 'L' << "&o17" << 15.0;
        QTest::newRow("L exponent E, negative") << 'L' << "25E-1" << 2.5;
        QTest::newRow("L exponent d") << 'L' << "2d2" << 200.0;
        QTest::newRow("L plus sign") << 'L' << "+5x" << 5.0;
        QTest::newRow("L exponent without digits") << 'L' << "7e" << 7.0;
        QTest::newRow("L fraction only") << 'L' << ".25" << 0.25;
        QTest::newRow("L overflow reads as 0") << 'L' << "1e400" << 0.0;
        QTest::newRow("L non-ASCII stops") << 'L' << QString::fromUtf16(u"12\u20ac3") << 12.0;
        QTest::newRow("R thousands separators") << 'R' << "1,234,567.891" << 1234567.891;
        QTest::newRow("R parentheses") << 'R' << "(50)" << -50.0;
        QTest::newRow("R minus after blanks") << 'R' << "  -1,500" << -1500.0;
        QTest::newRow("R comma after the point stops") << 'R' << "1.5,25" << 1.5;
        QTest::newRow("R double comma stops") << 'R' << "1,,500" << 1.0;
        QTest::newRow("R group of three") << 'R' << "1,500" << 1500.0;
        QTest::newRow("R groups and cents") << 'R' << "12,345,678.90" << 12345678.9;
        QTest::newRow("R decimal comma, cents") << 'R' << "1234,56" << 1234.56;
        QTest::newRow("R decimal comma, one digit") << 'R' << "0,5" << 0.5;
        QTest::newRow("R decimal comma 1,5") << 'R' << "1,5" << 1.5;
        QTest::newRow("R decimal comma 1,50") << 'R' << "1,50" << 1.5;
        QTest::newRow("R decimal comma after groups") << 'R' << "1,234,56" << 1234.56;
        QTest::newRow("R decimal comma, negative") << 'R' << "-1234,5" << -1234.5;
        QTest::newRow("R decimal comma in parentheses") << 'R' << "(0,75)" << -0.75;
        QTest::newRow("R four digits after a comma stop") << 'R' << "1,5000" << 1.0;
        QTest::newRow("R two digits then a point stop") << 'R' << "1,50.25" << 1.0;
        QTest::newRow("R two digits then a group stop") << 'R' << "1,23,456" << 1.0;
    }

    void reading()
    {
        QFETCH(char, reader);
        QFETCH(QString, text);
        QFETCH(double, value);
        const double read = reader == 'M' ? Money::ReadMoneyValue(text)
            : reader == 'L'               ? Money::readLeadingNumber(text)
                                          : Money::readRawEntry(text);
        QCOMPARE(read, value);
    }

    // M is moneyText, P plainNumberText (the cell editor's number).
    void writing_data()
    {
        QTest::addColumn<char>("writer");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("M grouping") << 'M' << 1234.5 << "$1,234.50";
        QTest::newRow("M negative") << 'M' << -75.0 << "($75.00)";
        QTest::newRow("M 1.005 rounds up as typed") << 'M' << 1.005 << "$1.01";
        QTest::newRow("M 2.675 rounds up as typed") << 'M' << 2.675 << "$2.68";
        QTest::newRow("M 0.125 rounds up") << 'M' << 0.125 << "$0.13";
        QTest::newRow("M negative half rounds away from zero") << 'M' << -0.125 << "($0.13)";
        QTest::newRow("M just below half") << 'M' << 0.12499 << "$0.12";
        QTest::newRow("M tiny negative is zero") << 'M' << -0.001 << "$0.00";
        QTest::newRow("M carry into thousands") << 'M' << 999.995 << "$1,000.00";
        QTest::newRow("M large") << 'M' << 1e15 << "$1,000,000,000,000,000.00";
        QTest::newRow("M not a number") << 'M' << std::numeric_limits<double>::quiet_NaN() << "$0.00";
        QTest::newRow("P decimals without trailing zeros") << 'P' << 950.5 << "950.5";
        QTest::newRow("P negative") << 'P' << -250.0 << "-250";
        QTest::newRow("P negative zero") << 'P' << -0.0 << "0";
        QTest::newRow("P no separators") << 'P' << 1234567.25 << "1234567.25";
        QTest::newRow("P fifteen digits") << 'P' << 0.1 + 0.2 << "0.3";
        QTest::newRow("P exponent form") << 'P' << 1e15 << "1E+15";
    }

    void writing()
    {
        QFETCH(char, writer);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(writer == 'M' ? Money::moneyText(value) : Money::plainNumberText(value), text);
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
