// The Bus Statistics window's small plot of the bus load over time: one bar
// per second of analyzer time that carried frames, from the first to the
// last second counted, scaled to the highest second (at least 10 %).
//
// Threads: the user-interface thread only.
#pragma once

#include <QWidget>
#include <cstdint>
#include <map>

namespace orvane::ui {

class LoadPlot final : public QWidget {
  Q_OBJECT

 public:
  explicit LoadPlot(QWidget* parent = nullptr);

  // Load in percent by second.
  void SetLoad(std::map<std::int64_t, double> percentBySecond);
  const std::map<std::int64_t, double>& load() const { return load_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::map<std::int64_t, double> load_;
};

}  // namespace orvane::ui
