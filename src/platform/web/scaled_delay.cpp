// The page's waits are the browser's turns (ASYNCIFY): they are not scaled,
// so a replay watched in the browser runs at its own speed.
