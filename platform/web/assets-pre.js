// SPDX-License-Identifier: GPL-3.0-or-later
// The worker finds its wasm under the same version as itself (assets.js?v=...).
Module['locateFile'] = (path) => path + self.location.search;
// The page downloads and compiles the generator while it starts this worker, and
// posts it here compiled.
Module['instantiateWasm'] = (imports, receive) => {
  self.onmessage = (e) => {
    self.onmessage = null;
    WebAssembly.instantiate(e.data.code, imports).then((instance) => receive(instance),
      (err) => postMessage({ done: 0, error: 'the generator would not start: ' + err }));
  };
  return {};
};
