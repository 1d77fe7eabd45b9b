// The "Identifier Definition Setup" dialog driven through its widgets: the
// pages and the special identifiers, the data length entry with its range
// message, the checksum buttons under LIN 1.3 and 2.0, the two Default
// buttons, and that only OK changes the definition.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <cstring>
#include <memory>

#include "settings/IdentifierDefinition.h"
#include "settings/SettingsRecord.h"
#include "signals/ui/CIdDefineDlg.h"
#include "tests/ui/support/RecordingSink.h"

namespace orvane::ui {

class IdentifierDialogTest : public QObject {
  Q_OBJECT

 private:
  settings::IdentifierDefinition definition_{};
  testing::RecordingSink sink_;
  std::unique_ptr<CIdDefineDlg> dialog_;

  void Open(std::uint32_t linRevision = settings::kLin20) {
    dialog_ = std::make_unique<CIdDefineDlg>(definition_, linRevision, sink_);
    dialog_->open();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
  }

  template <typename T>
  T* Get(const QString& name) const {
    T* child = dialog_->findChild<T*>(name);
    if (child == nullptr) qFatal("no child %s", qPrintable(name));
    return child;
  }
  static QString Hex(int identifier) { return QString("%1").arg(identifier, 2, 16, QChar('0')); }
  QLineEdit* LengthField(int identifier) const { return Get<QLineEdit>("dl" + Hex(identifier)); }
  QRadioButton* Classic(int identifier) const {
    return Get<QRadioButton>("classic" + Hex(identifier));
  }
  QRadioButton* Enhanced(int identifier) const {
    return Get<QRadioButton>("enhanced" + Hex(identifier));
  }

  void ClickTab(int index) {
    QTabBar* bar = Get<QTabWidget>("tabs")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QCOMPARE(bar->currentIndex(), index);
  }
  // Clicks a button; a radio button on its indicator, as a wide one does not
  // take clicks beside its text.
  void Click(QAbstractButton* button) {
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      radio ? QPoint(7, button->height() / 2) : button->rect().center());
  }
  void Click(const char* name) { Click(Get<QPushButton>(name)); }
  // Replaces the one character of a data length field by typing.
  static void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
  }
  bool DefinitionIs(const settings::IdentifierDefinition& expected) const {
    return std::memcmp(&definition_, &expected, sizeof expected) == 0;
  }

 private Q_SLOTS:
  void init() {
    settings::SetIdentifierDefaults(definition_);
    sink_.Clear();
  }
  void cleanup() { dialog_.reset(); }

  // ---- Pages ----

  void showsFourPagesOfSixteen() {
    Open();
    QCOMPARE(dialog_->windowTitle(), QString("Identifier Definition Setup"));
    QTabWidget* tabs = Get<QTabWidget>("tabs");
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->tabText(0), QString("00 - 0F"));
    QCOMPARE(tabs->tabText(1), QString("10 - 1F"));
    QCOMPARE(tabs->tabText(2), QString("20 - 2F"));
    QCOMPARE(tabs->tabText(3), QString("30 - 3F"));
    for (int page = 0; page < 4; ++page) {
      QWidget* widget = tabs->widget(page);
      QStringList labels;
      for (const QLabel* label : widget->findChildren<QLabel*>()) labels << label->text();
      QVERIFY(labels.contains("ID"));
      QVERIFY(labels.contains("DL"));
      QVERIFY(labels.contains(Hex(16 * page)));
      QVERIFY(labels.contains(Hex(16 * page + 15)));
    }
    QCOMPARE(LengthField(0x25)->text(), QString("4"));
    QCOMPARE(LengthField(0x25)->maxLength(), 1);
    QVERIFY(Classic(0x25)->isChecked());
    QCOMPARE(Classic(0x25)->text(), QString("Classic"));
    QCOMPARE(Enhanced(0x25)->text(), QString("Enhanced"));
  }

  void specialIdentifiersHaveNoChoice() {
    Open();
    ClickTab(3);
    for (int identifier : {0x3C, 0x3D}) {
      QVERIFY(Classic(identifier)->isVisible());
      QVERIFY(!Enhanced(identifier)->isVisible());
      QVERIFY(LengthField(identifier)->isEnabled());
    }
    for (int identifier : {0x3E, 0x3F}) {
      QVERIFY(!Classic(identifier)->isVisible());
      QVERIFY(!Enhanced(identifier)->isVisible());
      QVERIFY(dialog_->findChild<QLineEdit*>("dl" + Hex(identifier)) == nullptr);
      QLineEdit* disabled = Get<QLineEdit>("dlDisabled" + Hex(identifier));
      QVERIFY(disabled->isVisible());
      QVERIFY(!disabled->isEnabled());
    }
    QVERIFY(Enhanced(0x3B)->isVisible());
    QVERIFY(Enhanced(0x3B)->isEnabled());
  }

  // ---- Editing ----

  void typedLengthIsStoredAtOnce() {
    Open();
    ClickTab(1);
    Type(LengthField(0x12), "7");
    QCOMPARE(dialog_->Edited().dataLength[0x12], std::uint8_t{7});
    Type(LengthField(0x13), "0");
    QCOMPARE(dialog_->Edited().dataLength[0x13], std::uint8_t{0});
    QVERIFY(sink_.Boxes().empty());
    QCOMPARE(definition_.dataLength[0x12], std::uint8_t{2});  // not before OK
  }

  void lengthAbove8RestoresTheOldValue() {
    Open();
    ClickTab(1);
    QLineEdit* field = LengthField(0x12);
    QCOMPARE(field->text(), QString("2"));
    Type(field, "9");
    const std::vector<testing::RecordedBox> boxes = sink_.Boxes();
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].caption), QString("Error"));
    QCOMPARE(QString::fromStdString(boxes[0].text),
             QString("Please input a correct value in the range of 0 - 8."));
    QVERIFY(boxes[0].icon == monitor::MessageIcon::kExclamation);
    QCOMPARE(field->text(), QString("2"));
    QCOMPARE(dialog_->Edited().dataLength[0x12], std::uint8_t{2});
    QVERIFY(dialog_->isVisible());
  }

  void enteredLengthFollowsTheSameRule() {
    Open();
    dialog_->SetDataLengthText(0x14, "5");
    QCOMPARE(dialog_->Edited().dataLength[0x14], std::uint8_t{5});
    QCOMPARE(LengthField(0x14)->text(), QString("5"));
    dialog_->SetDataLengthText(0x14, "9");
    QCOMPARE(sink_.Boxes().size(), std::size_t{1});
    QCOMPARE(LengthField(0x14)->text(), QString("5"));
    dialog_->SetDataLengthText(0x3E, "1");  // not edited here
    QCOMPARE(dialog_->Edited().dataLength[0x3E], std::uint8_t{8});
  }

  void lin13OffersNoEnhanced() {
    Open(settings::kLin13);
    for (int page = 0; page < 4; ++page) {
      ClickTab(page);
      for (int identifier = 16 * page; identifier < 16 * page + 16; ++identifier) {
        QVERIFY2(!Enhanced(identifier)->isEnabled(), qPrintable(Hex(identifier)));
      }
    }
  }

  void lin20StoresEnhanced() {
    Open(settings::kLin20);
    ClickTab(1);
    QVERIFY(Enhanced(0x10)->isEnabled());
    Click(Enhanced(0x10));
    QCOMPARE(dialog_->Edited().classicChecksum[0x10], 0u);
    Click(Enhanced(0x11));
    Click(Classic(0x11));
    Click("ok");
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(definition_.classicChecksum[0x10], 0u);
    QCOMPARE(definition_.classicChecksum[0x11], 1u);
  }

  // ---- Defaults ----

  void defaultAllRestoresEveryPage() {
    std::memset(&definition_, 0, sizeof definition_);  // every length 0, every checksum enhanced
    Open();
    QCOMPARE(LengthField(0x05)->text(), QString("0"));
    QVERIFY(Enhanced(0x05)->isChecked());
    Click("defaultAll");
    QCOMPARE(LengthField(0x05)->text(), QString("2"));
    QVERIFY(Classic(0x05)->isChecked());
    ClickTab(2);
    QCOMPARE(LengthField(0x25)->text(), QString("4"));
    ClickTab(3);
    QCOMPARE(LengthField(0x3C)->text(), QString("8"));
    Click("ok");
    QCOMPARE(definition_.dataLength[0x25], std::uint8_t{4});
    QCOMPARE(definition_.dataLength[0x3C], std::uint8_t{8});
    QCOMPARE(definition_.dataLength[0x05], std::uint8_t{2});
    for (std::uint32_t classic : definition_.classicChecksum) QCOMPARE(classic, 1u);
  }

  void defaultRestoresTheVisiblePageOnly() {
    definition_.dataLength[0x05] = 7;
    definition_.dataLength[0x25] = 7;
    definition_.classicChecksum[0x26] = 0;
    Open();
    ClickTab(2);
    QCOMPARE(LengthField(0x25)->text(), QString("7"));
    Click("default");
    QCOMPARE(LengthField(0x25)->text(), QString("4"));
    QVERIFY(Classic(0x26)->isChecked());
    Click("ok");
    QCOMPARE(definition_.dataLength[0x25], std::uint8_t{4});
    QCOMPARE(definition_.classicChecksum[0x26], 1u);
    QCOMPARE(definition_.dataLength[0x05], std::uint8_t{7});
  }

  // ---- OK and Cancel ----

  void okStoresTheEdits() {
    Open();
    Type(LengthField(0x01), "8");
    ClickTab(3);
    Type(LengthField(0x3A), "1");
    Click("ok");
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(definition_.dataLength[0x01], std::uint8_t{8});
    QCOMPARE(definition_.dataLength[0x3A], std::uint8_t{1});
  }

  void cancelLeavesTheDefinitionUnchanged() {
    definition_.dataLength[0x07] = 5;
    const settings::IdentifierDefinition before = definition_;
    Open();
    Type(LengthField(0x01), "8");
    Click(Enhanced(0x02));
    Click("default");
    ClickTab(2);
    Type(LengthField(0x21), "6");
    Click("defaultAll");
    Type(LengthField(0x22), "3");
    Click("cancel");
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QVERIFY(DefinitionIs(before));
  }

  void tabsShowTheCopy() {
    Open();
    ClickTab(2);
    Type(LengthField(0x20), "6");
    ClickTab(0);
    ClickTab(2);
    QCOMPARE(LengthField(0x20)->text(), QString("6"));
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::IdentifierDialogTest)
#include "IdentifierDialogTest.moc"
