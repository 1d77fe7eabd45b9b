#include "monitor/MessageCatalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane::monitor {
namespace {

// Records every box instead of showing it and answers with a preset button.
class RecordingSink : public MessageSink {
 public:
  struct Box {
    std::string caption;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
    bool cancelIsDefault;
  };

  bool CanShow() const override { return canShow; }
  MessageAnswer Show(const MessageBoxRequest& request) override {
    boxes.push_back(Box{std::string(request.caption), std::string(request.text), request.icon,
                        request.buttons, request.cancelIsDefault});
    return answer;
  }

  bool canShow = true;
  MessageAnswer answer = MessageAnswer::kOk;
  std::vector<Box> boxes;
};

TEST(MessageText, CatalogueTextsExactly) {
  EXPECT_EQ(MessageText(9),
            "Application setup default parameter due to\n Configuration File Load Error. ");
  EXPECT_EQ(MessageText(8), "Application terminated due to USB comminucation error.");
  EXPECT_EQ(MessageText(103),
            "LIN Analyzer termination not allowed during monitoring.\nStop monitoring.");
  EXPECT_EQ(MessageText(105), "Log file preparation failed.");
  EXPECT_EQ(MessageText(1001), "Simulation data setting NG!.");
}

TEST(MessageText, CodesOutsideTheCatalogue) {
  EXPECT_EQ(MessageText(1002), "Error[1002]");
  EXPECT_EQ(MessageText(109), "Error[109]");
  EXPECT_EQ(MessageText(0), "Error[0]");
  EXPECT_EQ(MessageText(-5), "Error[-5]");
}

TEST(ShowErrorMessage, ShowsAnErrorBoxWithTheExclamationIcon) {
  RecordingSink sink;
  ShowErrorMessage(sink, 104);
  ASSERT_EQ(sink.boxes.size(), 1u);
  EXPECT_EQ(sink.boxes[0].caption, "Error");
  EXPECT_EQ(sink.boxes[0].text, "Monitor Execution Error.");
  EXPECT_EQ(sink.boxes[0].icon, MessageIcon::kExclamation);
  EXPECT_EQ(sink.boxes[0].buttons, MessageButtons::kOk);
}

TEST(ShowErrorMessage, NothingIsShownWhileShuttingDown) {
  RecordingSink sink;
  sink.canShow = false;
  ShowErrorMessage(sink, 7);
  ShowErrorMessage(sink, 1002);
  EXPECT_TRUE(sink.boxes.empty());
}

TEST(MessageBoxes, StandardCaptionsIconsAndQuestion) {
  RecordingSink sink;
  sink.canShow = false;  // generic boxes are the caller's decision
  ShowErrorBox(sink, "stop", MessageIcon::kStop);
  ShowWarningBox(sink, "careful");
  sink.answer = MessageAnswer::kCancel;
  EXPECT_EQ(AskOkCancel(sink, "Exit", "Do you want to exit VXL View ?    "), MessageAnswer::kCancel);

  ASSERT_EQ(sink.boxes.size(), 3u);
  EXPECT_EQ(sink.boxes[0].caption, "Error");
  EXPECT_EQ(sink.boxes[0].icon, MessageIcon::kStop);
  EXPECT_EQ(sink.boxes[1].caption, "Warning");
  EXPECT_EQ(sink.boxes[1].icon, MessageIcon::kExclamation);
  EXPECT_EQ(sink.boxes[2].text, "Do you want to exit VXL View ?    ");
  EXPECT_EQ(sink.boxes[2].icon, MessageIcon::kQuestion);
  EXPECT_EQ(sink.boxes[2].buttons, MessageButtons::kOkCancel);
  EXPECT_TRUE(sink.boxes[2].cancelIsDefault);
}

}  // namespace
}  // namespace orvane::monitor
