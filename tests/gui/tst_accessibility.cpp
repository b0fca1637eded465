#include "support/rows.h"
#include "support/windowfixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

// What a screen reader learns of the window: every control by name and purpose, and each
// cell of the sheet by what it holds, its row and column told apart from it.
class TestAccessibility : public QObject
{
    Q_OBJECT

private:
    static QString said(QObject *object, QAccessible::Text text)
    {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(object);
        return accessible ? accessible->text(text) : QStringLiteral("<nothing>");
    }

    static QAccessibleInterface *currentCell(GridView *grid)
    {
        return QAccessible::queryAccessibleInterface(grid)->focusChild();
    }

    // Every interface under the window a screen reader can come across.
    static void collectShown(QAccessibleInterface *node, QList<QObject *> &objects)
    {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface *child = node->child(i);
            if (!child || child->state().invisible)
                continue;
            objects << child->object();
            if (child->object())
                collectShown(child, objects);
        }
    }

    // The current cell as it is read: its name, the headers of its row and column, its
    // text, and its description.
    static QStringList reading(GridView *grid)
    {
        QAccessibleInterface *cell = currentCell(grid);
        if (!cell)
            return {QStringLiteral("<no current cell>")};
        QAccessibleTableCellInterface *tableCell = cell->tableCellInterface();
        QAccessibleTextInterface *text = cell->textInterface();
        if (!tableCell || !text)
            return {cell->text(QAccessible::Name), QStringLiteral("<no table cell or text interface>")};
        const auto headers = [](const QList<QAccessibleInterface *> &cells) {
            return cells.size() == 1 ? cells.first()->text(QAccessible::Name) : QStringLiteral("<no header>");
        };
        return {cell->text(QAccessible::Name), headers(tableCell->rowHeaderCells()),
                headers(tableCell->columnHeaderCells()), text->text(0, text->characterCount()),
                cell->text(QAccessible::Description)};
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
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
            if (!control->isVisibleTo(f.window.get()) || accessible->state().invisible
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
        QCOMPARE(said(f.child<QLineEdit>("txtName"), QAccessible::Name), QStringLiteral("Owner's name"));
    }

    // What is read of the cell: its name, its row's header, its column's, its text and its description.
    void currentCell_data()
    {
        Rows::columns<int, int, QString>("row", "column", "read");
        const QString advice = EstimateSheet().CategoryHelpTexts.at(4);
        QTest::newRow("an amount") << 5 << 3 << u"$1,500.00|Rough Lumber|Original Cost Estimate|$1,500.00|"_s;
        QTest::newRow("a negative amount")
            << 6 << 7 << u"minus $50.00|Rough Labor|Estimated Cost to Complete|($50.00)|"_s;
        QTest::newRow("an empty cell") << 1 << 1 << u"empty|Permits, Fees, Surveys|Subcontractor, Supplier||"_s;
        QTest::newRow("a category, with its advice")
            << 5 << 2 << u"Rough Lumber|Rough Lumber|Description|Rough Lumber|"_s + advice;
        QTest::newRow("a spare row") << 31 << 2 << u"empty|Row 31|Description||"_s;
        QTest::newRow("the total") << 37 << 4 << u"$1,450.00|Total|Adjusted Cost Estimate|$1,450.00|"_s;
        QTest::newRow("a note") << 6 << 6
                                << u"TBD. Not an amount: not counted|Rough Labor|Current Amounts to be Paid|TBD|"_s;
        QTest::newRow("an amount shown as ###") << 7 << 5
                                                << u"$123,456,789,012.00|Windows/Ext. Doors|Total of Previous Payment|"
                                                   "$123,456,789,012.00|$123,456,789,012.00"_s;
    }

    // Moved to by the keyboard, the current cell says its text; its row and column come from
    // the table's headers, which a screen reader speaks only when they change.
    void currentCell()
    {
        auto [row, column, read] = Rows::fetch<int, int, QString>("row", "column", "read");
        WindowFixture f;
        f.enter(5, 3, QStringLiteral("1500"));
        f.enter(6, 3, QStringLiteral("-50"));
        f.enter(7, 5, QStringLiteral("123456789012"));
        QGuiApplication::clipboard()->setText(QStringLiteral("TBD"));
        f.clickCell(6, 6);
        f.press(Qt::Key_V, Qt::ControlModifier);
        f.press(Qt::Key_Home, Qt::ControlModifier);
        for (int down = 1; down < row; ++down)
            f.press(Qt::Key_Down);
        for (int right = 1; right < column; ++right)
            f.press(Qt::Key_Right);
        QCOMPARE(f.window->sheet().grid().currentRow(), row);
        QCOMPARE(reading(f.grid).join(u'|'), read);
    }

    // Tab from the builder's name into the sheet lands on its first cell, and the screen
    // reader hears of nothing in between: the tab trap is neither announced nor shown.
    void tabTrapUnheard()
    {
        WindowFixture f;
        auto *trap = f.child<QLineEdit>("txtTemp");
        QList<QObject *> shown;
        collectShown(QAccessible::queryAccessibleInterface(f.window.get()), shown);
        QVERIFY(!shown.isEmpty());
        QVERIFY(!shown.contains(trap));

        f.child<QLineEdit>("txtBuilder")->setFocus();
        // What takes the focus is what a screen reader announces.
        QList<QWidget *> focused;
        const QMetaObject::Connection watch =
            connect(qApp, &QApplication::focusChanged, this, [&focused](QWidget *, QWidget *now) { focused << now; });
        f.press(Qt::Key_Tab);
        disconnect(watch);
        QVERIFY(!focused.contains(trap));
        QCOMPARE(QApplication::focusWidget(), f.grid);
        QCOMPARE(currentCell(f.grid)->text(QAccessible::Name), QStringLiteral("empty"));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
