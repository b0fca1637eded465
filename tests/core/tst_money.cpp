#include "core/sheet/money.h"
#include "support/rows.h"

#include <QTest>

#include <limits>

class TestMoney : public QObject
{
    Q_OBJECT

private slots:
    // What a text means as an amount, whichever way it came; NaN stands for a note.
    void reading_data()
    {
        const double note = std::numeric_limits<double>::quiet_NaN();
        Rows::columns<QString, double>("text", "value");
        QTest::newRow("money text") << "$1,234.50" << 1234.5;
        QTest::newRow("parentheses") << "($75.00)" << -75.0;
        QTest::newRow("open parenthesis, as typed") << "(12.5" << -12.5;
        QTest::newRow("minus after blanks") << "  -50" << -50.0;
        QTest::newRow("minus after the currency sign") << "$-5" << -5.0;
        QTest::newRow("point first") << "$.50" << 0.5;
        QTest::newRow("point last") << "5." << 5.0;
        QTest::newRow("sixteen digits") << "$12,345,678,901,234.56" << 12345678901234.56;
        QTest::newRow("decimal comma after groups") << "1,234,56" << 1234.56;
        QTest::newRow("no-break space groups") << QString::fromUtf16(u"1\u202F234,5") << 1234.5;
        QTest::newRow("groups of points") << "1.234.567" << 1234567.0;
        QTest::newRow("three decimals after groups") << "1,234.567" << 1234.567;
        QTest::newRow("a point alone is decimal") << "1.500" << 1.5;
        QTest::newRow("blanks only") << " \t" << note;
        QTest::newRow("sign and parentheses") << "(-5)" << note;
        QTest::newRow("closing parenthesis alone") << "50)" << note;
        QTest::newRow("two points") << "1.2.3" << note;
        QTest::newRow("mixed groups") << "1,234 567.8" << note;
        QTest::newRow("group of two") << "1,23,456" << note;
        QTest::newRow("four digits after a comma") << "1,5000" << note;
        QTest::newRow("comma last") << "5," << note;
        QTest::newRow("group after 0") << "0,500" << note;
        QTest::newRow("two separators together") << "1,,500" << note;
        QTest::newRow("currency sign alone") << "$" << note;
        QTest::newRow("exponent") << "25E-1" << note;
        QTest::newRow("too many digits to hold") << QString(400, u'9') << note;
    }

    void reading()
    {
        auto [text, value] = Rows::fetch<QString, double>("text", "value");
        const std::optional<double> amount = Money::readAmount(text);
        QCOMPARE(amount.value_or(std::numeric_limits<double>::quiet_NaN()), value);
        QCOMPARE(Money::ReadMoneyValue(text), amount.value_or(0.0));
        QCOMPARE(Money::holdsNote(text), !amount && !text.trimmed().isEmpty());
    }

    // M is moneyText, P plainNumberText (the cell editor's number).
    void writing_data()
    {
        Rows::columns<char, double, QString>("writer", "value", "text");
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
        auto [writer, value, text] = Rows::fetch<char, double, QString>("writer", "value", "text");
        QCOMPARE(writer == 'M' ? Money::moneyText(value) : Money::plainNumberText(value), text);
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
