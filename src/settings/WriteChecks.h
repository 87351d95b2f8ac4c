#pragma once

// The checks of the Programming menu that make a write safer. The application remembers them
// between runs (app/WriteChecks.h); a missing or damaged value is off.

namespace tr640 {

struct WriteChecks {
    bool BackupFirst = false; // read the radio into a backup before writing
    bool Verify = false;      // read the radio back after writing and compare
    bool Preview = false;     // read the radio first and show what the write would change

    bool operator==(const WriteChecks&) const = default;
};

} // namespace tr640
