// The "Identifier Definition Setup" dialog (command 32804): the
// data length (0-8) and the checksum model (Classic / Enhanced) of each of
// the 64 identifiers, in four tabs of 16 ("00 - 0F" ... "30 - 3F").
//
// It works on a copy of the definition: OK replaces the definition with the
// copy, Cancel leaves it as it was, whatever was edited or reset meanwhile.
// Identifiers 0x3C and 0x3D are always classic; 0x3E and 0x3F have no
// checksum choice and a data length that is not edited here; under LIN 1.3
// no identifier can be made enhanced. A data length above 8 shows
// "Please input a correct value in the range of 0 - 8." through the given
// MessageSink and the field returns to its previous value. The caller runs
// app::IdentifierDefinitionAccepted after OK (the analyzer is not written
// here).
//
// Modal, used only while monitoring is stopped. Threads: the user-interface
// thread only.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "monitor/MessageSink.h"
#include "settings/IdentifierDefinition.h"

class QTabWidget;

namespace orvane::ui {

class IdDefinePage;

class CIdDefineDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPageCount = 4;
  static constexpr int kRowsPerPage = 16;

  // `linRevision`: 0 LIN 1.3, 1 LIN 2.0 (the settings record's value).
  CIdDefineDlg(settings::IdentifierDefinition& definition, std::uint32_t linRevision,
               monitor::MessageSink& messages, QWidget* parent = nullptr);
  ~CIdDefineDlg() override;

  // The copy being edited.
  const settings::IdentifierDefinition& Edited() const { return copy_; }
  // Enters `text` into the data length field of `identifier` as typing
  // would, with the same range rule (for drivers of the whole program);
  // nothing for 0x3E and 0x3F, whose length is not edited here.
  void SetDataLengthText(std::uint8_t identifier, const QString& text);

 public Q_SLOTS:
  void accept() override;

 private:
  void DefaultVisiblePage();
  void DefaultAllPages();

  settings::IdentifierDefinition& definition_;
  settings::IdentifierDefinition copy_;
  QTabWidget* tabs_;
  std::array<IdDefinePage*, kPageCount> pages_{};
};

}  // namespace orvane::ui
