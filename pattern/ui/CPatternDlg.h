// The "Pattern File Edit" dialog (command 32811): reads a pattern file or
// a monitor log (a log becomes pattern lines, one per complete frame,
// optionally only those of one identifier), lets the user edit the text and
// saves it as a pattern file once it passes the editor check.
//
// Reading runs on a worker thread (PatternSourceLoader): the editor shows
// "Now Loading..." and, every 500 ms, the kilobytes read; a progress bar and
// a "Cancel" button show while it runs. Cancel, or closing the dialog,
// stops the worker and puts back the text and the names the dialog showed
// before "Read". The filter settings are the application's
// PatternDialogValues and change as the controls are used.
//
// Save checks the text in a temporary file in the system's temporary
// folder (removed again at once), then asks for the name and writes the
// file in one piece: the editor's text with its line breaks as CR LF, like
// the pattern files made from logs. File dialogs go through the given
// WindowRequests.
//
// Modal. Threads: the user-interface thread only.
#pragma once

#include <QDialog>
#include <QString>

#include "app/WindowRequests.h"
#include "monitor/MessageSink.h"
#include "pattern/PatternSource.h"
#include "pattern/ui/PatternDialogValues.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;

namespace orvane::ui {

class PatternSourceLoader;

class CPatternDlg final : public QDialog {
  Q_OBJECT

 public:
  CPatternDlg(PatternDialogValues& values, app::WindowRequests& windows,
              monitor::MessageSink& messages, const QFont& gridFont, QWidget* parent = nullptr);
  ~CPatternDlg() override;

  // The reading worker's counters (for the progress display and tests).
  const pattern::ConversionProgress& progress() const;

 public Q_SLOTS:
  // Every way out (OK, Close, Escape, the title bar) stops a reading worker.
  void done(int result) override;

 private:
  // What "Read" replaces, so that a cancelled read can put it back.
  struct Shown {
    QString source;
    QString pattern;
    QString text;
  };

  QWidget* MakeSourceRow();
  QWidget* MakeOutputGroup(const QFont& gridFont);
  QWidget* MakeButtonRow();

  void FilterToggled(bool on);
  void CommitFilterIdent();
  void ShowFilterIdent();

  void Read();
  void ReadFinished(const pattern::PatternSourceResult& result);
  // The timer's tick: the loading text and the bar while reading.
  void ShowProgress();
  void UpdateProgressBar();
  void SetLoading(bool loading);
  void Restore();

  void Save();
  // The editor's text as it is saved.
  QByteArray EditorBytes() const;

  PatternDialogValues& values_;
  app::WindowRequests& windows_;
  monitor::MessageSink& messages_;
  PatternSourceLoader* loader_;
  Shown beforeRead_;

  QLineEdit* sourcePath_ = nullptr;
  QPushButton* read_ = nullptr;
  QLineEdit* patternPath_ = nullptr;
  QPushButton* save_ = nullptr;
  QCheckBox* filterEnable_ = nullptr;
  QLineEdit* filterIdent_ = nullptr;
  QPlainTextEdit* editor_ = nullptr;
  QWidget* progressRow_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace orvane::ui
