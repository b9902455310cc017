// The CPU time, in clock ticks, of a process and of every process started
// under it, read from /proc: the benchmark and the web test measure Chromium
// (and the desktop game) with it.
'use strict';
const fs = require('fs');

function treeTicks(rootPid) {
  const parents = new Map();
  const ticks = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(entry), Number(fields[1]));
      ticks.set(Number(entry), Number(fields[11]) + Number(fields[12]));
    } catch (error) {
      // the process has gone
    }
  }
  let total = 0;
  for (const [pid, t] of ticks) {
    for (let p = pid; p > 1; p = parents.get(p) || 0) {
      if (p === rootPid) {
        total += t;
        break;
      }
    }
  }
  return total;
}

module.exports = {treeTicks};
