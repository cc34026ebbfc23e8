#pragma once

#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace onefortwo {

// One prepared statement, finalized when it goes. Bind indexes start at 1.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) statement_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return statement_ != nullptr; }
  sqlite3_stmt* get() const { return statement_; }

  void Bind(int index, int64_t value) { sqlite3_bind_int64(statement_, index, value); }
  void Bind(int index, const std::string& value) {
    sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
  }
  // NaN goes in as NULL.
  void BindNumber(int index, double value) {
    if (std::isnan(value)) {
      sqlite3_bind_null(statement_, index);
    } else {
      sqlite3_bind_double(statement_, index, value);
    }
  }
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step() { return sqlite3_step(statement_); }
  void Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }

  int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
  // NaN for NULL.
  double Number(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL
               ? std::nan("")
               : sqlite3_column_double(statement_, column);
  }
  std::string Text(int column) const {
    const unsigned char* text = sqlite3_column_text(statement_, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
                : std::string();
  }
  bool IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace onefortwo
