// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace vmm {

// Errors trapped by the drawing classes and pixel functions.
inline constexpr int kErrNoSurface = 91;
inline constexpr const char *kErrNoSurfaceText = "The device context has no drawing surface";

// Where the drawing layer's error reports go: a message box in the editor,
// standard error in tools. The application sets it once at start-up.
using GdiErrorReporter = std::function<void(const QString &text, const QString &title)>;

// Installs `reporter`; an empty one restores the default (qWarning).
void setGdiErrorReporter(GdiErrorReporter reporter);

// Reports "Error: <number>. <description>" titled with the procedure's name.
void reportGdiError(const char *procedure, int number, const QString &description);

}  // namespace vmm
