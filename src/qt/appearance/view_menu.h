#pragma once

#include <QMenuBar>

#include "editor/appearance/appearance_choice.h"

namespace voxtane::qt {

// View: Zoom In, Zoom Out, Actual Size and the Theme submenu, each a choice made through
// `choice`; the entries show its current look and follow its changes.
QMenu* AddViewMenu(QMenuBar& bar, QAction* before, editor::AppearanceChoice& choice);

// Keeps the View menu's entries in step with `appearance`.
void ShowInViewMenu(QMenu& view, const editor::Appearance& appearance);

}  // namespace voxtane::qt
