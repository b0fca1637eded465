#include "gui/editing/wheelhook.h"
#include "gui/sheet/celldelegate.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QPlainTextEdit>

class TestMouseWheel : public QObject
{
    Q_OBJECT

private slots:
    void step_data()
    {
        Rows::columns<int, int, int, int>("topRow", "rotation", "headerHeight", "expected");
        // The grid is 6250 twips high throughout.
        QTest::newRow("12.5 header rows scroll 12") << 1 << -120 << 500 << 13;
        QTest::newRow("at least 10") << 1 << -120 << 1000 << 11;
        QTest::newRow("two notches in one message, one step") << 1 << -240 << 500 << 13;
        QTest::newRow("up stops at the first row") << 5 << 120 << 500 << 1;
        QTest::newRow("down asks for the last row at most") << 30 << -120 << 500 << 37;
        QTest::newRow("no header height") << 1 << -120 << 0 << 11;
    }

    void step()
    {
        auto [topRow, rotation, headerHeight, expected] =
            Rows::fetch<int, int, int, int>("topRow", "rotation", "headerHeight", "expected");
        QCOMPARE(WheelHook::scrolledTopRow(topRow, rotation, 6250, headerHeight, 38), expected);
    }

    void wheelOverTheWindow()
    {
        WindowFixture f;
        f.resizeToDesign();
        const int step = std::max(10, f.model().height() / f.model().rowHeight(0));
        f.clickCell(3, 3);
        f.type(QStringLiteral("4"));

        // One step per notch, with Ctrl and Shift too, instead of the grid's own scrolling.
        WindowFixture::turn(f.grid->viewport(), -120, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.model().topRow(), 1 + step);
        QCOMPARE(f.grid->rowAt(0) + 1, 1 + step);
        // The editor went out of view with its cell.
        QVERIFY(!f.editor->isVisible());
        QCOMPARE(f.model().currentRow(), 3);

        // Over a label the wheel scrolls the sheet; the address box keeps it for its text.
        WindowFixture::turn(f.child<QLabel>("lblLogo"), 120);
        QCOMPARE(f.model().topRow(), 1);
        for (const char *textBox : {"txtAddress", "txtName", "txtBuilder"}) {
            WindowFixture::turn(f.window->findChild<QWidget *>(QLatin1String(textBox)), -120);
            QVERIFY2(f.model().topRow() == 1, textBox);
        }
        // A sideways turn leaves the rows alone.
        WindowFixture::turn(f.grid->viewport(), QPoint(-120, 0));
        QCOMPARE(f.model().topRow(), 1);

        // After a close cancelled at the save prompt the wheel still works.
        f.messages->answers = {MessageBoxes::Cancel};
        QVERIFY(!f.window->close());
        WindowFixture::turn(f.grid->viewport(), -120);
        QCOMPARE(f.model().topRow(), 1 + step);
    }

    // However far the wheel turns, the row under the header row shows whole: its grid line
    // lies one row's height below the header, as the next row's lies below it.
    void scrollingLandsOnWholeRows()
    {
        WindowFixture f;
        for (int notches = 1; notches <= 4; ++notches) {
            WindowFixture::turn(f.grid->viewport(), -120);
            const QImage shown = f.grid->viewport()->grab().toImage();
            // Along the left edge of the first column, clear of its text.
            const int x = f.grid->columnViewportPosition(0) + 1;
            QList<int> gridLines;
            for (int y = 0; y < shown.height(); ++y) {
                if (shown.pixelColor(x, y) == CellDelegate::gridLineColour())
                    gridLines << y;
            }
            QVERIFY(gridLines.size() >= 2);
            // The first row shows as many pixels as the next.
            QCOMPARE(gridLines.at(0) + 1, gridLines.at(1) - gridLines.at(0));
        }
    }

    void touchpadAddsUp()
    {
        WindowFixture f;
        for (int i = 0; i < 7; ++i)
            WindowFixture::turn(f.grid->viewport(), -15);
        QCOMPARE(f.model().topRow(), 1);
        WindowFixture::turn(f.grid->viewport(), -15);
        QVERIFY(f.model().topRow() > 1);
        // Turning back starts counting afresh.
        for (int i = 0; i < 7; ++i)
            WindowFixture::turn(f.grid->viewport(), -15);
        WindowFixture::turn(f.grid->viewport(), 60);
        WindowFixture::turn(f.grid->viewport(), 60);
        QCOMPARE(f.model().topRow(), 1);
    }
};

QTEST_MAIN(TestMouseWheel)
#include "tst_mousewheel.moc"
