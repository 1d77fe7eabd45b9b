// Reads a saved log or capture for review on a worker thread while a
// progress dialog with Cancel shows how far it got (it appears only when
// the read takes longer than a moment), then shows the review.
//
// Threads: the user-interface thread; it keeps processing events until the
// read has ended.
#pragma once

#include <QWidget>
#include <string>

#include "app/AppContext.h"

namespace orvane::ui {

// Returns whether a review is now shown.
bool OpenReviewFile(QWidget* parent, const app::AppContext& context, const std::string& path);

}  // namespace orvane::ui
