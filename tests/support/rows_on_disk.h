// The row count of the malware table in the database file, read through a connection of the test's own.
#pragma once

#include <sqlite3.h>

#include "malwaredb/database.h"

namespace corvane::testing {

inline int RowsOnDisk() {
    sqlite3* db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(MalwareDbPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* query = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM malware_hashes;", -1, &query, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(query) == SQLITE_ROW) {
            count = sqlite3_column_int(query, 0);
        }
        sqlite3_finalize(query);
    }
    sqlite3_close(db);
    return count;
}

}  // namespace corvane::testing
