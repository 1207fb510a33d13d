// SPDX-License-Identifier: GPL-3.0-or-later
// The worker finds its wasm under the same version as itself (assets.js?v=...).
Module['locateFile'] = (path) => path + self.location.search;
