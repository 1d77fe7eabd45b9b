// The pattern dialogs driven through their widgets: the edit dialog's
// filter controls, reading a monitor log on the worker with its progress
// and cancel, the check before saving and the bytes saved; the selection
// dialog's preview, check, browse folders and display mode.
//
// Logs are written with the program's own log writer from records of a
// realistic trace, and the expected pattern text is the core conversion of
// the same log.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <string>

#include "monitor/LogWriter.h"
#include "pattern/LogToPattern.h"
#include "pattern/ui/CPatSelectDlg.h"
#include "pattern/ui/CPatternDlg.h"
#include "pattern/ui/PatternDialogValues.h"
#include "tests/app/RunControlTestSupport.h"
#include "tests/ui/support/RecordingSink.h"

namespace orvane::ui {

namespace {

std::uint8_t ProtectedIdentifier(std::uint8_t id) {
  const auto bit = [id](int n) { return (id >> n) & 1; };
  const int p0 = bit(0) ^ bit(1) ^ bit(2) ^ bit(4);
  const int p1 = 1 - (bit(1) ^ bit(3) ^ bit(4) ^ bit(5));
  return static_cast<std::uint8_t>(id | p0 << 6 | p1 << 7);
}

// Record n of a trace: mostly complete frames in both directions, now and
// then a header without response, a checksum error, a sleep command, a
// wake-up and an I/O line event.
monitor::MonitorRecord TraceRecord(std::uint32_t n) {
  monitor::MonitorRecord record{};
  record.time = static_cast<std::int32_t>(n * 10);
  record.node = n % 3 == 0 ? monitor::kNodeSlave : monitor::kNodeMaster;
  record.flags = n % 2 == 0 ? monitor::MonitorRecord::kTxFlag : 0;
  record.kind = monitor::kKindEnd;
  record.ident = ProtectedIdentifier(static_cast<std::uint8_t>(n % 64));
  for (int i = 0; i < 8; ++i) record.data[i] = static_cast<std::uint8_t>(n * 7 + i);
  record.checksum = static_cast<std::uint8_t>(~n);
  switch (n % 16) {
    case 5:
      record.kind = monitor::kKindRequest;
      break;
    case 9:
      record.kind = monitor::kKindError;
      record.error = monitor::kErrorChecksum;
      break;
    case 12:
      record.kind = monitor::kKindSleep;
      record.ident = ProtectedIdentifier(0x3C);
      break;
    case 13:
      record.kind = monitor::kKindWakeup;
      break;
    case 15:
      record.kind = static_cast<std::uint8_t>(monitor::kKindIoFirst + n % 6);
      break;
    default:
      break;
  }
  return record;
}

// Writes a log of `records` lines after the header, as the program saves
// one under LIN 1.x data lengths, and returns its bytes.
std::string WriteTraceLog(const QString& path, std::uint32_t records) {
  monitor::LogFormat format;
  for (int id = 0; id < monitor::kIdentifierCount; ++id) {
    format.dataLengths[static_cast<std::size_t>(id)] =
        static_cast<std::uint8_t>(monitor::LengthCodeOf(static_cast<std::uint8_t>(id)));
  }
  std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
  monitor::WriteLogHeader(file);
  for (std::uint32_t n = 0; n < records; ++n) monitor::WriteLogRecord(file, TraceRecord(n), format);
  std::fclose(file);
  QFile written(path);
  written.open(QIODevice::ReadOnly);
  return written.readAll().toStdString();
}

// The pattern text as the editor shows it (line breaks without CR).
QString AsEditorText(const std::string& patternText) {
  return QString::fromLatin1(patternText).replace("\r\n", "\n");
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

QStringList TemporaryCheckFiles() {
  return QDir::temp().entryList({"orvane-pattern-*"}, QDir::Files);
}

}  // namespace

class PatternEditorTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> folder_;
  app::AppState state_;
  std::unique_ptr<app::testing::RecordingWindows> windows_;
  testing::RecordingSink sink_;
  PatternDialogValues values_;
  QFont font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  std::unique_ptr<CPatternDlg> editor_;
  std::unique_ptr<CPatSelectDlg> select_;

  QString File(const QString& name) const { return folder_->filePath(name); }

  void OpenEditor() {
    editor_ = std::make_unique<CPatternDlg>(values_, *windows_, sink_, font_);
    editor_->open();
    QVERIFY(QTest::qWaitForWindowActive(editor_.get()));
  }
  void OpenSelect(const QString& path, CPatSelectDlg::Mode mode = CPatSelectDlg::kSelect) {
    select_ = std::make_unique<CPatSelectDlg>(path.toStdString(), mode, sink_, font_,
                                              File("program").toStdString());
    select_->SetFileDialogs(*windows_);
    select_->open();
    QVERIFY(QTest::qWaitForWindowActive(select_.get()));
  }

  template <typename T>
  static T* Get(QWidget* dialog, const char* name) {
    T* child = dialog->findChild<T*>(name);
    if (child == nullptr) qFatal("no child %s", name);
    return child;
  }
  QPlainTextEdit* Editor() const { return Get<QPlainTextEdit>(editor_.get(), "editor"); }
  QLineEdit* EditorField(const char* name) const { return Get<QLineEdit>(editor_.get(), name); }
  QPushButton* EditorButton(const char* name) const {
    return Get<QPushButton>(editor_.get(), name);
  }
  static void Click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
  }

  // Reads `path` through "Read" and waits until the worker has finished.
  void ReadAndWait(const QString& path) {
    windows_->chosenFile = path.toStdString();
    Click(EditorButton("read"));
    QTRY_VERIFY(EditorButton("read")->isEnabled());
  }

  // Clicks Save with `chosen` as the save dialog's answer (nothing: Cancel).
  void Save(std::optional<QString> chosen) {
    windows_->chosenFile =
        chosen ? std::optional<std::string>(chosen->toStdString()) : std::nullopt;
    Click(EditorButton("save"));
  }

 private Q_SLOTS:
  void init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    windows_ = std::make_unique<app::testing::RecordingWindows>(state_);
    sink_.Clear();
    values_ = {};
    SharedPatternDialogValues() = {};
  }
  void cleanup() {
    editor_.reset();
    select_.reset();
  }

  // ---- Edit dialog: controls ----

  void editorShowsItsControlsAndTheSharedFilter() {
    values_.filterEnabled = false;
    values_.filterIdent = 0x0A;
    OpenEditor();
    QCOMPARE(editor_->windowTitle(), QString("Pattern File Edit"));
    QStringList labels;
    for (const QLabel* label : editor_->findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains("Source File Name"));
    QVERIFY(labels.contains("Pattern File Name"));
    QCOMPARE(Get<QGroupBox>(editor_.get(), "outputGroup")->title(),
             QString(" Output Pattern File "));
    QVERIFY(EditorField("sourcePath")->isReadOnly());
    QCOMPARE(EditorButton("read")->text(), QString("Read"));
    QCOMPARE(EditorButton("save")->text(), QString("Save"));
    QCOMPARE(EditorButton("ok")->text(), QString("OK"));
    QCOMPARE(EditorButton("close")->text(), QString("Close"));
    QCOMPARE(Editor()->font(), font_);
    QVERIFY(!Get<QProgressBar>(editor_.get(), "progress")->isVisible());
    const QTimer* timer = editor_->findChild<QTimer*>();
    QVERIFY(timer != nullptr && timer->isActive());
    QCOMPARE(timer->interval(), 500);

    QCheckBox* enable = Get<QCheckBox>(editor_.get(), "filterEnable");
    QLineEdit* ident = EditorField("filterIdent");
    QCOMPARE(enable->text(), QString("Filter Enable"));
    QVERIFY(!enable->isChecked());
    QCOMPARE(ident->text(), QString("0a"));
    QVERIFY(ident->isReadOnly());

    enable->click();
    QVERIFY(values_.filterEnabled);
    QVERIFY(!ident->isReadOnly());
    ident->setFocus();
    ident->selectAll();
    QTest::keyClicks(ident, "3C");
    QTest::keyClick(ident, Qt::Key_Return);
    QCOMPARE(values_.filterIdent, std::uint8_t{0x3C});
    QCOMPARE(ident->text(), QString("3c"));
    // Only hexadecimal digits get in; an emptied field keeps the identifier.
    ident->selectAll();
    QTest::keyClicks(ident, "zz");
    QCOMPARE(ident->text(), QString("3c"));
    QTest::keyClick(ident, Qt::Key_Backspace);
    QCOMPARE(ident->text(), QString());
    QTest::keyClick(ident, Qt::Key_Return);
    QCOMPARE(values_.filterIdent, std::uint8_t{0x3C});
    QCOMPARE(ident->text(), QString("3c"));
    QVERIFY(editor_->isVisible());

    enable->click();
    QVERIFY(!values_.filterEnabled);
    QVERIFY(ident->isReadOnly());
  }

  void enterInTheEditorIsALineBreak() {
    OpenEditor();
    Editor()->setFocus();
    QTest::keyClicks(Editor(), "Tx,3c,01");
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTest::keyClick(Editor(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClicks(Editor(), "Rx,12");
    QVERIFY(editor_->isVisible());
    QCOMPARE(editor_->result(), 0);
    QCOMPARE(Editor()->toPlainText(), QString("Tx,3c,01\n\nRx,12"));
  }

  // ---- Edit dialog: reading ----

  void readingALogShowsProgressThenThePatternLines() {
    const QString log = File("trace.log");
    const std::string text = WriteTraceLog(log, 10000);
    OpenEditor();
    windows_->chosenFile = log.toStdString();
    Click(EditorButton("read"));

    // At once: the names, the loading text and the progress controls.
    QCOMPARE(EditorField("sourcePath")->text(), log);
    QCOMPARE(EditorField("patternPath")->text(), File("trace_out.ptn"));
    QCOMPARE(Editor()->toPlainText(), QString("Now Loading..."));
    QProgressBar* bar = Get<QProgressBar>(editor_.get(), "progress");
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->value(), 0);
    QVERIFY(EditorButton("cancel")->isEnabled());
    QVERIFY(!EditorButton("read")->isEnabled());
    QVERIFY(!EditorButton("save")->isEnabled());
    QVERIFY(Editor()->isReadOnly());

    QTRY_VERIFY(EditorButton("read")->isEnabled());
    const std::optional<std::string> expected = pattern::ConvertLogText(text);
    QVERIFY(expected && !expected->empty());
    QCOMPARE(Editor()->toPlainText(), AsEditorText(*expected));
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(!bar->isVisible());
    QCOMPARE(editor_->progress().bytesRead.load(), std::uint64_t(text.size()));
    QVERIFY(!Editor()->isReadOnly());
    QVERIFY(sink_.Boxes().empty());
    QVERIFY(!QFile::exists(File("trace_out.ptn")));

    const app::testing::RecordedFileDialog& request = windows_->fileDialogs.at(0);
    QVERIFY(!request.save);
    QCOMPARE(request.filter, std::string("Source File(*.ptn,*.log)|*.ptn;*.log|All(*.*)|*.*||"));
    QCOMPARE(request.defaultExtension, std::string("ptn"));

    // With the filter on, only frames of that identifier remain.
    Get<QCheckBox>(editor_.get(), "filterEnable")->click();
    EditorField("filterIdent")->setText("2A");
    ReadAndWait(log);
    const std::optional<std::string> filtered = pattern::ConvertLogText(text, 0x2A);
    QVERIFY(filtered && !filtered->empty() && *filtered != *expected);
    QCOMPARE(Editor()->toPlainText(), AsEditorText(*filtered));
  }

  void readingAPatternFileProposesItselfAndShowsItUnchanged() {
    const QString path = File("run.ptn");
    WriteBytes(path, "Tx,3c,01,02\r\nRx,12\r\nnot checked on reading\r\n");
    OpenEditor();
    ReadAndWait(path);
    QCOMPARE(EditorField("patternPath")->text(), path);
    QCOMPARE(Editor()->toPlainText(), QString("Tx,3c,01,02\nRx,12\nnot checked on reading\n"));
  }

  void unreadableOrEmptySourcesAreReported() {
    OpenEditor();
    Editor()->setPlainText("kept");
    ReadAndWait(File("missing.log"));
    QCOMPARE(sink_.Boxes().size(), std::size_t{1});
    QCOMPARE(sink_.Boxes()[0].caption, std::string("Error"));
    QCOMPARE(sink_.Boxes()[0].text, std::string("Log File Open Error."));
    QCOMPARE(Editor()->toPlainText(), QString("kept"));
    QCOMPARE(EditorField("sourcePath")->text(), QString());

    sink_.Clear();
    const QString headerOnly = File("header.log");
    WriteTraceLog(headerOnly, 0);
    ReadAndWait(headerOnly);
    QCOMPARE(sink_.Boxes().size(), std::size_t{1});
    QCOMPARE(sink_.Boxes()[0].caption, std::string("Log File"));
    QCOMPARE(sink_.Boxes()[0].text, std::string("Log File Open Error."));
    QCOMPARE(Editor()->toPlainText(), QString());
  }

  void cancelStopsMidwayAndPutsEverythingBack() {
    const QString log = File("big.log");
    const std::string text = WriteTraceLog(log, 200000);
    OpenEditor();
    Editor()->setPlainText("Tx,01,02\nmine");
    EditorField("patternPath")->setText(File("mine.ptn"));

    windows_->chosenFile = log.toStdString();
    Click(EditorButton("read"));
    Click(EditorButton("cancel"));
    QVERIFY(!EditorButton("cancel")->isEnabled());
    QTRY_VERIFY(EditorButton("read")->isEnabled());

    // It stopped before the end of the log, not after.
    QCOMPARE(editor_->progress().totalBytes.load(), std::uint64_t(text.size()));
    QVERIFY(editor_->progress().bytesRead < text.size());
    QCOMPARE(Editor()->toPlainText(), QString("Tx,01,02\nmine"));
    QCOMPARE(EditorField("sourcePath")->text(), QString());
    QCOMPARE(EditorField("patternPath")->text(), File("mine.ptn"));
    QVERIFY(!Get<QProgressBar>(editor_.get(), "progress")->isVisible());
    QVERIFY(!QFile::exists(File("big_out.ptn")));
    QVERIFY(!QFile::exists(File("mine.ptn")));
    QVERIFY(sink_.Boxes().empty());
  }

  void closingWhileReadingStopsTheWorker() {
    const QString log = File("big.log");
    const std::string text = WriteTraceLog(log, 200000);
    OpenEditor();
    windows_->chosenFile = log.toStdString();
    Click(EditorButton("read"));
    Click(EditorButton("close"));
    QVERIFY(!editor_->isVisible());
    QCOMPARE(editor_->result(), int(QDialog::Rejected));
    QVERIFY(!editor_->progress().loading);
    QVERIFY(editor_->progress().bytesRead < text.size());
    QCOMPARE(Editor()->toPlainText(), QString());
    // The worker's queued result goes nowhere, before or after the dialog is gone.
    QCoreApplication::processEvents();
    QCOMPARE(Editor()->toPlainText(), QString());
    windows_->chosenFile = log.toStdString();
    editor_->open();
    Click(EditorButton("read"));
    editor_.reset();
    QCoreApplication::processEvents();
    QVERIFY(sink_.Boxes().empty());
  }

  // ---- Edit dialog: saving ----

  void saveRefusesTextThatFailsTheCheck() {
    const QStringList temporaryBefore = TemporaryCheckFiles();
    OpenEditor();
    Editor()->setPlainText("Tx,3c,01\nRx,12,ff\nTx,40,01\nRx,01\n");
    Save(File("out.ptn"));
    QCOMPARE(sink_.Boxes().size(), std::size_t{1});
    QCOMPARE(sink_.Boxes()[0].caption, std::string("Error"));
    QCOMPARE(sink_.Boxes()[0].text, std::string("Pattern File Format Error.(line:3)"));

    sink_.Clear();
    Editor()->setPlainText("Tx,3c,01\nSleep\n");
    Save(File("out.ptn"));
    QCOMPARE(sink_.Texts(), std::vector<std::string>{"Pattern File Format Error.(line:2)"});

    sink_.Clear();
    Editor()->clear();
    Save(File("out.ptn"));
    QCOMPARE(sink_.Texts(), std::vector<std::string>{"Pattern File has no data."});

    QVERIFY(windows_->fileDialogs.empty());
    QVERIFY(!QFile::exists(File("out.ptn")));
    QCOMPARE(TemporaryCheckFiles(), temporaryBefore);
  }

  void saveWritesTheEditorLines() {
    const QStringList temporaryBefore = TemporaryCheckFiles();
    OpenEditor();
    EditorField("patternPath")->setText(File("proposed.ptn"));
    Editor()->setPlainText("Tx,3c,01,02\nRx,12\nWakeup,00");
    const QString out = File("out.ptn");
    WriteBytes(out, "Rx,01\r\nRx,02\r\nRx,03\r\nRx,04\r\n");
    Save(out);
    QVERIFY(sink_.Boxes().empty());
    QCOMPARE(ReadBytes(out), QByteArray("Tx,3c,01,02\r\nRx,12\r\nWakeup,00"));
    QCOMPARE(EditorField("patternPath")->text(), out);
    QCOMPARE(values_.lastFolder, folder_->path().toStdString());
    QCOMPARE(TemporaryCheckFiles(), temporaryBefore);

    const app::testing::RecordedFileDialog& request = windows_->fileDialogs.at(0);
    QVERIFY(request.save);
    QCOMPARE(request.initialName, File("proposed.ptn").toStdString());
    QCOMPARE(request.defaultExtension, std::string("ptn"));
    QCOMPARE(request.filter, std::string("Pattern File(*.ptn)|*.ptn|All(*.*)|*.*||"));

    // Cancelling the save dialog writes nothing.
    Editor()->setPlainText("Rx,3d\n");
    Save(std::nullopt);
    QCOMPARE(ReadBytes(out), QByteArray("Tx,3c,01,02\r\nRx,12\r\nWakeup,00"));
    QVERIFY(sink_.Boxes().empty());
  }

  void aFileThatCannotBeWrittenIsReported() {
    OpenEditor();
    Editor()->setPlainText("Tx,3c,01\n");
    Save(File("no-such-folder/out.ptn"));
    QCOMPARE(sink_.Boxes().size(), std::size_t{1});
    QCOMPARE(sink_.Boxes()[0].caption, std::string("Error"));
    QCOMPARE(sink_.Boxes()[0].text, std::string("Pattern File Open Error."));
    QVERIFY(!QFile::exists(File("no-such-folder")));
    QCOMPARE(EditorField("patternPath")->text(), QString());
  }

  // ---- Selection dialog ----

  void selectionPreviewsTheFirstElevenLines() {
    QByteArray content;
    // A line of 600 characters is read in two pieces and counts as two.
    const QByteArray longLine = "Tx,3c," + QByteArray(594, '0') + "\r\n";
    content += longLine;
    for (int line = 2; line <= 15; ++line) content += "Rx," + QByteArray::number(line, 16) + "\r\n";
    const QString path = File("preview.ptn");
    WriteBytes(path, content);
    OpenSelect(path);
    QCOMPARE(select_->windowTitle(), QString("Select Pattern File"));
    QLineEdit* field = Get<QLineEdit>(select_.get(), "path");
    QCOMPARE(field->text(), path);
    QVERIFY(!field->isReadOnly());
    QVERIFY(Get<QPushButton>(select_.get(), "browse")->isEnabled());
    QPlainTextEdit* preview = Get<QPlainTextEdit>(select_.get(), "preview");
    QVERIFY(preview->isReadOnly());
    QCOMPARE(preview->font(), font_);
    QString expected = QString::fromLatin1(longLine).trimmed() + "\n";
    for (int line = 2; line <= 10; ++line) expected += "Rx," + QString::number(line, 16) + "\n";
    QCOMPARE(preview->toPlainText(), expected);
  }

  void selectionAcceptsOnlyAFileThatPassesTheCheck() {
    const QString bad = File("bad.ptn");
    WriteBytes(bad, "Tx,3c,01\nTX,3c\n");
    OpenSelect(bad);
    Click(Get<QPushButton>(select_.get(), "ok"));
    QVERIFY(select_->isVisible());
    QCOMPARE(sink_.Boxes().size(), std::size_t{1});
    QCOMPARE(sink_.Boxes()[0].caption, std::string("Error"));
    QCOMPARE(sink_.Boxes()[0].text, std::string("Pattern File Format Error.(line:2)"));

    sink_.Clear();
    QLineEdit* field = Get<QLineEdit>(select_.get(), "path");
    field->setText(File("missing.ptn"));
    Click(Get<QPushButton>(select_.get(), "ok"));
    QVERIFY(select_->isVisible());
    QCOMPARE(sink_.Texts(), std::vector<std::string>{"Pattern File Open Error."});

    // The select check lets "Sleep" alone pass, unlike the editor's.
    sink_.Clear();
    const QString good = File("good.ptn");
    WriteBytes(good, "Tx,3c,01\r\nSleep\r\n");
    field->setText(good);
    Click(Get<QPushButton>(select_.get(), "ok"));
    QVERIFY(sink_.Boxes().empty());
    QCOMPARE(select_->result(), int(QDialog::Accepted));
    QCOMPARE(select_->chosenPath(), good.toStdString());

    OpenSelect(QString());
    Click(Get<QPushButton>(select_.get(), "ok"));
    QCOMPARE(select_->result(), int(QDialog::Accepted));
    QCOMPARE(select_->chosenPath(), std::string());
    QVERIFY(sink_.Boxes().empty());
  }

  void selectionBrowseStartsWhereTheUserWasLast() {
    QVERIFY(QDir(folder_->path()).mkpath("patterns"));
    const QString chosen = File("patterns/chosen.ptn");
    WriteBytes(chosen, "Rx,21,01\r\n");

    // Nothing known yet: the program folder.
    OpenSelect(QString());
    windows_->chosenFile = chosen.toStdString();
    Click(Get<QPushButton>(select_.get(), "browse"));
    const app::testing::RecordedFileDialog& first = windows_->fileDialogs.at(0);
    QVERIFY(!first.save);
    QCOMPARE(first.initialName, File("program/*.ptn").toStdString());
    QCOMPARE(first.filter, std::string("Pattern File(*.ptn)|*.ptn||"));
    QCOMPARE(Get<QLineEdit>(select_.get(), "path")->text(), chosen);
    QCOMPARE(Get<QPlainTextEdit>(select_.get(), "preview")->toPlainText(), QString("Rx,21,01\n"));
    QCOMPARE(SharedPatternDialogValues().lastFolder, File("patterns").toStdString());

    // A current path: its folder.
    OpenSelect(File("elsewhere/old.ptn"));
    windows_->chosenFile = std::nullopt;
    Click(Get<QPushButton>(select_.get(), "browse"));
    QCOMPARE(windows_->fileDialogs.at(1).initialName, File("elsewhere/*.ptn").toStdString());
    QCOMPARE(Get<QLineEdit>(select_.get(), "path")->text(), File("elsewhere/old.ptn"));

    // No current path: the last pattern folder.
    OpenSelect(QString());
    Click(Get<QPushButton>(select_.get(), "browse"));
    QCOMPARE(windows_->fileDialogs.at(2).initialName, File("patterns/*.ptn").toStdString());
  }

  void displayModeOnlyShowsTheFile() {
    const QString path = File("shown.ptn");
    WriteBytes(path, "Tx,10,aa\r\n");
    OpenSelect(path, CPatSelectDlg::kDisplay);
    QCOMPARE(select_->windowTitle(), QString("Pattern Introduction"));
    QVERIFY(Get<QLineEdit>(select_.get(), "path")->isReadOnly());
    QVERIFY(!Get<QPushButton>(select_.get(), "browse")->isEnabled());
    QCOMPARE(Get<QPlainTextEdit>(select_.get(), "preview")->toPlainText(), QString("Tx,10,aa\n"));
    Click(Get<QPushButton>(select_.get(), "ok"));
    QCOMPARE(select_->result(), int(QDialog::Accepted));
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::PatternEditorTest)
#include "PatternEditorTest.moc"
