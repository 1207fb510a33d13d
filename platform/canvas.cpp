// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/canvas.h"

void Canvas::Draw(int x, int y, const Picture& src) {
  CopyRect(Rect{x, y, x + src.Width(), y + src.Height()}, src, Rect{0, 0, src.Width(), src.Height()}, CopyMode::Copy);
}
