// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace vmm {

enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class MessageButtons { Ok, YesNo, ExportDiscardCancel, SaveDiscardCancel };
enum class MessageAnswer { Ok, Yes, No, Export, Save, Discard, Cancel };

// Every message box, file dialog and colour dialog of the editor goes through
// this interface, so that tests and tools can answer them without a screen.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  virtual MessageAnswer message(const QString &text, const QString &title,
                                MessageIcon icon = MessageIcon::None,
                                MessageButtons buttons = MessageButtons::Ok,
                                MessageAnswer defaultAnswer = MessageAnswer::Ok) = 0;
  // Returns an empty string when the user cancels.
  virtual QString openFileName(const QString &filter) = 0;
  // `defaultSuffix` (without the dot) is added to a name typed without one, before the
  // dialog asks whether to replace an existing file.
  virtual QString saveFileName(const QString &filter, const QString &defaultSuffix = {}) = 0;
  // A GDI colour value (red in the low byte), or nothing when cancelled.
  virtual std::optional<quint32> chooseColour(quint32 initial) = 0;
  // The value a replace command looks for on `plane`: an element name chosen from the
  // category and element lists, or a height "0" to "100" from the height list, to be
  // replaced by `replacement` (the name or height shown). Nothing when the user cancels.
  virtual std::optional<QString> chooseValueToReplace(Plane plane, const QString &replacement) = 0;
};

}  // namespace vmm
