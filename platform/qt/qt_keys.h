// SPDX-License-Identifier: GPL-3.0-or-later
// Qt key codes to the Windows virtual-key codes the game's handlers expect.
#pragma once

// 0 when the key has no virtual-key code the game could use.
int QtKeyToVk(int qt_key);
