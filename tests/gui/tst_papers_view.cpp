#include "core/document/attachmentfolder.h"
#include "core/document/estimatefile.h"
#include "core/sheet/estimatesheet.h"
#include "gui/documents/documentsview.h"
#include "gui/documents/paperdialog.h"
#include "support/files.h"
#include "support/windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

using namespace Qt::StringLiterals;

namespace {
// Fills the next Attach Paper dialog as a user would: an invoice of $1,250.00 for row 5 of
// draw 1, titled as given, then Attach; or Escape where cancel is set.
void answerPaperDialog(const QString &title, bool cancel = false)
{
    QTimer::singleShot(0, [title, cancel] {
        auto *dialog = qobject_cast<PaperDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (cancel) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        dialog->findChild<QCheckBox *>(u"chkPaperAmount"_s)->setChecked(true);
        auto *amount = dialog->findChild<QLineEdit *>(u"txtPaperAmount"_s);
        QTest::keyClicks(amount, u"1250"_s);
        auto *item = dialog->findChild<QComboBox *>(u"cboPaperItem"_s);
        item->setCurrentIndex(item->findData(5));
        auto *edit = dialog->findChild<QLineEdit *>(u"txtPaperTitle"_s);
        edit->selectAll();
        QTest::keyClicks(edit, title);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

struct PapersFixture : WindowFixture
{
    PapersFixture()
    {
        dialogs->savePaths = {path(u"house.vrn"_s)};
        QCOMPARE(window->document().save(), Document::SaveOutcome::Saved);
        child<QDockWidget>("dckPapers")->toggleViewAction()->trigger();
        QTRY_VERIFY(table());
    }

    QTableWidget *table() const { return child<QTableWidget>("tblPapers"); }
    void click(const char *button) const { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
    QString source(const QString &name, const QByteArray &bytes) const
    {
        const QString file = path(name);
        Files::write(file, bytes);
        return file;
    }
};
}

class TestPapersView : public QObject
{
    Q_OBJECT

private slots:
    // A paper chosen with Attach... is copied into the folder beside the estimate and listed
    // with what the user said of it; saved, the file names it; Undo takes it off the list,
    // Redo puts it back.
    void attachSaveUndo()
    {
        PapersFixture f;
        const QByteArray bytes = "%PDF-1.4 invoice of the lumber yard";
        f.dialogs->attachPaths = {{f.source(u"INV-17.pdf"_s, bytes)}};
        answerPaperDialog(u"Lumber, first load"_s);
        f.click("cmdAttachPaper");
        QTRY_COMPARE(f.table()->rowCount(), 1);
        QCOMPARE(f.table()->item(0, 1)->text(), u"Invoice"_s);
        QCOMPARE(f.table()->item(0, 3)->text(), u"$1,250.00"_s);
        QCOMPARE(f.table()->item(0, 4)->text(), u"Lumber, first load"_s);
        QCOMPARE(f.table()->item(0, 5)->text(), u"Draw 1, 5 Rough Lumber"_s);
        QCOMPARE(f.table()->item(0, 7)->text(), u"In the folder"_s);
        QCOMPARE(Files::read(f.path(u"house documents/INV-17.pdf"_s)), bytes);

        QCOMPARE(f.window->document().save(), Document::SaveOutcome::Saved);
        const std::optional<EstimateContent> saved = EstimateFile::load(f.path(u"house.vrn"_s));
        QVERIFY(saved);
        QCOMPARE(saved->history.papers, f.document->history().papers);
        const Paper &paper = saved->history.papers.value(0);
        QCOMPARE(paper.amount, std::optional<Cents>(125000));
        QCOMPARE(paper.subject, Paper::Subject::DrawLine);
        QCOMPARE(paper.row, 5);
        QCOMPARE(paper.file.relativePath, u"house documents/INV-17.pdf"_s);
        QCOMPARE(paper.file.sha256, AttachmentFolder::sha256Of(f.path(u"INV-17.pdf"_s)).value());

        QApplication::setActiveWindow(f.window.get());
        f.table()->setFocus();
        QTRY_VERIFY(f.table()->hasFocus());
        f.press(Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(f.table()->rowCount(), 0);
        f.press(Qt::Key_Y, Qt::ControlModifier);
        QTRY_COMPARE(f.table()->rowCount(), 1);
    }

    // Saved As into another folder, the estimate takes copies of its papers along and finds
    // them there; a paper whose place there another file holds is named, that file and the old
    // copy are left as they were, and the estimate is saved all the same.
    void savedAsElsewhere()
    {
        PapersFixture f;
        f.dialogs->attachPaths = {{f.source(u"INV-17.pdf"_s, "%PDF-1.4 17"), f.source(u"INV-18.pdf"_s, "%PDF-1.4 18")}};
        answerPaperDialog(u"Lumber"_s);
        f.click("cmdAttachPaper");
        QTRY_COMPARE(f.table()->rowCount(), 2);
        QVERIFY(QDir().mkpath(f.path(u"backup/house documents"_s)));
        QVERIFY(Files::write(f.path(u"backup/house documents/INV-18.pdf"_s), "someone else's"));
        f.dialogs->savePaths = {f.path(u"backup/house.vrn"_s)};
        f.trigger("mnuSaveAs");
        QCOMPARE(f.window->document().CurrentFile(), f.path(u"backup/house.vrn"_s));
        QCOMPARE(EstimateFile::load(f.path(u"backup/house.vrn"_s))->history.papers, f.document->history().papers);
        QCOMPARE(Files::read(f.path(u"backup/house documents/INV-17.pdf"_s)), "%PDF-1.4 17");
        QCOMPARE(Files::read(f.path(u"backup/house documents/INV-18.pdf"_s)), "someone else's");
        QCOMPARE(Files::read(f.path(u"house documents/INV-18.pdf"_s)), "%PDF-1.4 18");
        QCOMPARE(f.messages->texts(),
                 QStringList{u"The estimate is saved, but some of its papers could not be copied into its new "
                             u"folder. They are still beside %1.\n\nPaper 2: another file is already there, %2."_s.arg(
                                 f.path(u"house.vrn"_s), f.path(u"backup/house documents/INV-18.pdf"_s))});
        QCOMPARE(f.table()->item(0, 7)->text(), u"In the folder"_s);
        QCOMPARE(f.table()->item(1, 7)->text(), u"Changed since attached"_s);
    }

    // A paper whose copy went missing is said to be so; Remove asks, and No keeps it.
    void missingAndRemove()
    {
        PapersFixture f;
        f.dialogs->attachPaths = {{f.source(u"roof.jpg"_s, "photo")}};
        answerPaperDialog(u"roof framed"_s);
        f.click("cmdAttachPaper");
        QTRY_COMPARE(f.table()->rowCount(), 1);
        QVERIFY(QFile::remove(f.path(u"house documents/roof.jpg"_s)));
        f.window->findChild<DocumentsView *>()->refresh();
        QCOMPARE(f.table()->item(0, 7)->text(), u"Missing"_s);
        f.table()->selectRow(0);
        f.messages->answers = {MessageBoxes::No};
        f.click("cmdRemovePaper");
        QCOMPARE(f.table()->rowCount(), 1);
        f.messages->answers = {MessageBoxes::Yes};
        f.click("cmdRemovePaper");
        QCOMPARE(f.table()->rowCount(), 0);
        QCOMPARE(f.document->history().deletedPaperNumber, 1);
    }

    // Nothing is listed, and no copy is left in the folder, where one of the copies cannot be
    // made, the dialog is cancelled, or the estimate has no folder yet; the user is told why.
    void nothingAttached()
    {
        PapersFixture f;
        f.dialogs->attachPaths = {{f.source(u"INV-17.pdf"_s, "%PDF"), f.path(u"not there.pdf"_s)}};
        answerPaperDialog(u"gone"_s);
        f.click("cmdAttachPaper");
        QTRY_COMPARE(f.messages->texts().size(), 1);
        QVERIFY2(f.messages->texts().first().startsWith(u"The paper could not be attached: "_s),
                 qPrintable(f.messages->texts().first()));
        QVERIFY(!QFileInfo::exists(f.path(u"house documents/INV-17.pdf"_s)));
        f.dialogs->attachPaths = {{f.source(u"INV-18.pdf"_s, "%PDF")}};
        answerPaperDialog({}, true);
        f.click("cmdAttachPaper");
        QCOMPARE(f.document->history().papers, QList<Paper>());
        QVERIFY(!QFileInfo::exists(f.path(u"house documents/INV-18.pdf"_s)));
        f.trigger("mnuNew");
        f.window->findChild<DocumentsView *>()->attachFiles({f.path(u"INV-18.pdf"_s)});
        QCOMPARE(f.messages->texts().last(), u"Save the estimate first: its papers are kept in a folder beside it."_s);
    }

    // A payee a file numbered high is the paper's subject as chosen, not some other subject.
    void subjectNumberedHigh()
    {
        EstimateHistory history;
        Payee payee;
        payee.number = (1 << 24) + 1;
        payee.name = u"Far Numbered"_s;
        payee.rows = {{5, {}}};
        history.payees = {payee};
        const EstimateSheet sheet;
        PaperDialog dialog(sheet.grid(), history, Paper{});
        auto *subject = dialog.findChild<QComboBox *>(u"cboPaperSubject"_s);
        subject->setCurrentIndex(subject->findText(payee.name));
        QCOMPARE(dialog.paper().subject, Paper::Subject::Payee);
        QCOMPARE(dialog.paper().subjectNumber, payee.number);
    }
};

QTEST_MAIN(TestPapersView)
#include "tst_papers_view.moc"
