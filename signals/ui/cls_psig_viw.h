// The Signal select window's form: the text "Frame/Signal Name" above a
// tree of check boxes, one root item per frame of the loaded LIN
// description in the settings' sort order, with the frame's signals below
// it in entry order.
//
// A click on a box is taken after the tree has changed its marks: the
// selection in the settings record follows the rules of
// signals::SignalSelectModel (a frame's box selects or clears all its
// signals; a signal's box selects or clears that signal), and the tree
// shows the selection again. A frame's box is full when all its signals
// are selected, partial when some are, empty when none is; a click on a
// partial box selects them all. Without a description the tree is empty.
//
// Threads: the user-interface thread only.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "app/ui/ShellView.h"
#include "signals/SignalSelectModel.h"
#include "signals/ui/SignalSources.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace orvane::ui {

class cls_psig_viw final : public QWidget, public ShellView {
  Q_OBJECT

 public:
  explicit cls_psig_viw(const SignalSources& sources, QWidget* parent = nullptr);

  // Takes the description, the selection and the sort order again: the
  // tree is rebuilt with its first frame selected, and the caption set.
  void SetUp();
  void OnSignalWindowsRefresh() override { SetUp(); }

  QTreeWidget& tree() const { return *tree_; }

 private:
  // Any change of a mark posts one ApplyClick.
  void OnItemChanged();
  void ApplyClick();
  // The tree's marks as the model reads them; `shown` is what the tree
  // showed before the click. A frame whose box changed gets its new mark
  // on every signal, so that a partial box that became full selects all.
  // `clickedFrame` is set to the position of such a frame.
  std::vector<signals::FrameChecks> MarksOfTree(const std::vector<signals::FrameChecks>& shown,
                                                std::optional<std::size_t>& clickedFrame) const;
  void ShowChecks();
  QTreeWidgetItem* ItemOf(const signals::TreeItem& item) const;

  SignalSources sources_;
  // The description the tree was built from.
  const signals::LinDescription* description_ = nullptr;
  signals::SignalSelectModel model_;
  QTreeWidget* tree_;
  bool clickPosted_ = false;
};

}  // namespace orvane::ui
