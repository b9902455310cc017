// The CPU time, in clock ticks, and the resident memory, in bytes, of a
// process and of every process started under it, read from /proc: the
// benchmark and the web test measure Chromium (and the desktop game) with it.
'use strict';
const fs = require('fs');

// The sum of field (of /proc/PID/stat, counted from the state's) over the
// tree under rootPid.
function treeSum(rootPid, value) {
  const parents = new Map();
  const values = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(entry), Number(fields[1]));
      values.set(Number(entry), value(fields));
    } catch (error) {
      // the process has gone
    }
  }
  let total = 0;
  for (const [pid, v] of values) {
    for (let p = pid; p > 1; p = parents.get(p) || 0) {
      if (p === rootPid) {
        total += v;
        break;
      }
    }
  }
  return total;
}

function treeTicks(rootPid) {
  return treeSum(rootPid, fields => Number(fields[11]) + Number(fields[12]));
}

// Resident pages of 4 KB.
function treeResidentBytes(rootPid) {
  return treeSum(rootPid, fields => Number(fields[21]) * 4096);
}

module.exports = {treeTicks, treeResidentBytes};
