// SPDX-License-Identifier: GPL-3.0-or-later
// A worker of the page's asset maker. The page downloads and compiles the generator
// while it starts the workers, and posts it here compiled; then it hands out the jobs,
// one at a time, which are made once the runtime stands.
Module['locateFile'] = (path) => path + self.location.search;
let ready = false;
const jobs = [];
function make(job) {
  const start = performance.now();
  const ok = Module['_pomurie_make'](job) === 1;
  postMessage({ finished: job, ok, ms: performance.now() - start });
}
Module['instantiateWasm'] = (imports, receive) => {
  self.onmessage = (e) => {
    if (e.data.job !== undefined) {
      if (ready) make(e.data.job); else jobs.push(e.data.job);
      return;
    }
    WebAssembly.instantiate(e.data.code, imports).then((instance) => receive(instance),
      (err) => postMessage({ error: 'the generator would not start: ' + err }));
  };
  return {};
};
Module['onRuntimeInitialized'] = () => {
  ready = true;
  postMessage({ jobs: Module['_pomurie_jobs']() });
  for (const job of jobs.splice(0)) make(job);
};
