#pragma once

// Mounts the directory the records live in (records_location) on the
// browser's IndexedDB and loads what an earlier visit saved there. Call once
// before the game starts.
void open_records_store();
