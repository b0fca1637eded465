#include "support/windowfixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QToolBar>
#include <QToolButton>

// What a screen reader learns of the window: every control by name and purpose, and each
// cell of the sheet by its row, its column and what it holds.
class TestAccessibility : public QObject
{
    Q_OBJECT

private:
    static QString said(QObject *object, QAccessible::Text text)
    {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(object);
        return accessible ? accessible->text(text) : QStringLiteral("<nothing>");
    }

    static QString cellName(GridView *grid)
    {
        QAccessibleInterface *cell = QAccessible::queryAccessibleInterface(grid)->focusChild();
        return cell ? cell->text(QAccessible::Name) : QStringLiteral("<no current cell>");
    }

private slots:
    void everyControlNamed()
    {
        WindowFixture f;
        QStringList unnamed;
        QStringList undescribed;
        const QList<QWidget *> controls = f.window->findChildren<QWidget *>();
        for (QWidget *control : controls) {
            const bool takesFocus = control->focusPolicy() != Qt::NoFocus;
            if (!control->isVisibleTo(f.window.get())
                || !(takesFocus || qobject_cast<QToolButton *>(control) || qobject_cast<QToolBar *>(control)))
                continue;
            const QString name = control->objectName().isEmpty()
                ? QString::fromLatin1(control->metaObject()->className())
                : control->objectName();
            if (said(control, QAccessible::Name).trimmed().isEmpty())
                unnamed << name;
            if (takesFocus && said(control, QAccessible::Description).trimmed().isEmpty())
                undescribed << name;
        }
        QCOMPARE(unnamed, QStringList());
        QCOMPARE(undescribed, QStringList());
        QCOMPARE(said(f.window->findChild<QLineEdit *>(QStringLiteral("txtName")), QAccessible::Name),
                 QStringLiteral("Owner's name"));
    }

    void currentCell_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("name");
        QTest::newRow("an amount") << 5 << 3 << QStringLiteral("Rough Lumber, Original Cost Estimate: $1,500.00");
        QTest::newRow("a computed amount")
            << 5 << 7 << QStringLiteral("Rough Lumber, Estimated Cost to Complete: $1,500.00");
        QTest::newRow("a name") << 1 << 1 << QStringLiteral("Permits, Fees, Surveys, Subcontractor, Supplier: empty");
        QTest::newRow("a spare row") << 31 << 2 << QStringLiteral("Row 31, Description: empty");
        QTest::newRow("the total") << 37 << 4 << QStringLiteral("Total, Adjusted Cost Estimate: $1,500.00");
        QTest::newRow("a note") << 6 << 6
                                << QStringLiteral(
                                       "Rough Labor, Current Amounts to be Paid: TBD. Not an amount: not counted");
    }

    // Moved to by the keyboard, the current cell tells its row, its column and its text.
    void currentCell()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, name);
        WindowFixture f;
        f.enter(5, 3, QStringLiteral("1500"));
        QGuiApplication::clipboard()->setText(QStringLiteral("TBD"));
        f.clickCell(6, 6);
        f.press(Qt::Key_V, Qt::ControlModifier);
        f.press(Qt::Key_Home, Qt::ControlModifier);
        for (int down = 1; down < row; ++down)
            f.press(Qt::Key_Down);
        for (int right = 1; right < column; ++right)
            f.press(Qt::Key_Right);
        QCOMPARE(f.window->sheet().grid().currentRow(), row);
        QCOMPARE(cellName(f.grid), name);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
