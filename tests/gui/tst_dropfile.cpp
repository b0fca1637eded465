#include "core/document/estimatefile.h"
#include "support/rows.h"
#include "support/windowfixture.h"

#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

// An estimate file dragged from the file manager and dropped on the window.
class TestDropFile : public QObject
{
    Q_OBJECT

private:
    // Drags the urls over the middle of target and drops them there, as the platform
    // delivers a drag: to the window, which finds the control under the mouse.
    static bool drop(QWidget *target, const QList<QUrl> &urls)
    {
        QMimeData mime;
        mime.setUrls(urls);
        QWindow *window = target->window()->windowHandle();
        const QPointF position = target->mapTo(target->window(), target->rect().center());
        QDragEnterEvent enter(position.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        qApp->notify(window, &enter);
        QDragMoveEvent move(position.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        qApp->notify(window, &move);
        QDropEvent drop(position, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        qApp->notify(window, &drop);
        return drop.isAccepted();
    }

    static EstimateContent fencedEstimate()
    {
        EstimateContent content;
        content.builder = QStringLiteral("Jo Fence");
        content.cells[0][0] = QStringLiteral("County Office");
        content.cells[0][2] = QStringLiteral("$250.00");
        return content;
    }

private slots:
    void droppedOnto_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("the sheet") << QStringLiteral("grdMain");
        QTest::newRow("a text box") << QStringLiteral("txtName");
        QTest::newRow("the address") << QStringLiteral("txtAddress");
        QTest::newRow("a frame") << QStringLiteral("fraBuilder");
    }

    // Wherever it lands, the file opens as File > Open opens it.
    void droppedOnto()
    {
        QFETCH(QString, control);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("fence.vrn"));
        QVERIFY(EstimateFile::save(file, fencedEstimate()));
        WindowFixture f;

        QVERIFY(drop(f.window->findChild<QWidget *>(control), {QUrl::fromLocalFile(file)}));
        QTRY_COMPARE(f.text(1, 1), QStringLiteral("County Office"));
        QCOMPARE(f.text(37, 3), QStringLiteral("$250.00"));
        QCOMPARE(f.child<QLineEdit>("txtBuilder")->text(), QStringLiteral("Jo Fence"));
        QCOMPARE(f.child<QLineEdit>("txtName")->text(), QString());
        QCOMPARE(f.window->document().CurrentFile(), file);
        QVERIFY(f.window->document().DocumentSaved());
        QCOMPARE(f.messages->texts(), QStringList());
    }

    void unsavedChangesGuarded_data()
    {
        Rows::columns<MessageBoxes::Answer, bool>("answer", "opened");
        QTest::newRow("Yes") << MessageBoxes::Yes << true;
        QTest::newRow("No") << MessageBoxes::No << true;
        QTest::newRow("Cancel") << MessageBoxes::Cancel << false;
    }

    // The save prompt comes first, and its Cancel keeps the estimate on the screen.
    void unsavedChangesGuarded()
    {
        auto [answer, opened] = Rows::fetch<MessageBoxes::Answer, bool>("answer", "opened");
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("fence.vrn"));
        const QString typed = folder.filePath(QStringLiteral("typed.vrn"));
        QVERIFY(EstimateFile::save(file, fencedEstimate()));
        WindowFixture f;
        f.enter(2, 1, QStringLiteral("Acme"));
        f.messages->answers = {answer};
        f.dialogs->savePaths = {typed};

        QVERIFY(drop(f.grid, {QUrl::fromLocalFile(file)}));
        QTRY_COMPARE(f.messages->texts(), QStringList{QStringLiteral("Do you want to save your Current document?")});
        QTRY_COMPARE(f.text(1, 1), opened ? QStringLiteral("County Office") : QString());
        QCOMPARE(f.text(2, 1), opened ? QString() : QStringLiteral("Acme"));
        QCOMPARE(QFileInfo::exists(typed), answer == MessageBoxes::Yes);
    }

    void notAnEstimate_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::newRow("a picture") << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/house.png"))};
        QTest::newRow("two estimates") << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/a.vrn")),
                                                      QUrl::fromLocalFile(QStringLiteral("/tmp/b.vrn"))};
        QTest::newRow("a web address") << QList<QUrl>{QUrl(QStringLiteral("https://varn.example/a.vrn"))};
    }

    void notAnEstimate()
    {
        QFETCH(QList<QUrl>, urls);
        WindowFixture f;
        QVERIFY(!drop(f.grid, urls));
        QTest::qWait(50);
        QCOMPARE(f.messages->texts(), QStringList());
        QCOMPARE(f.dialogs->openCount, 0);
    }
};

QTEST_MAIN(TestDropFile)
#include "tst_dropfile.moc"
