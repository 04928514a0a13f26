#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// A thin owner of SQLite's C API: a connection, prepared statements and a
// transaction that rolls back unless committed. Every failure throws
// sqlite::Error with SQLite's own message and the statement it came from.
namespace zorbe::sqlite {

class Error : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A row the data would make twice, or one whose key points nowhere: the
// input, not the database, is at fault.
class ConstraintError : public Error
{
public:
    using Error::Error;
};

class Statement;

class Database
{
public:
    // Opens (creating when missing) the database file.
    explicit Database(const std::filesystem::path &file);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Runs one or more statements without results.
    void exec(std::string_view sql);
    Statement prepare(std::string_view sql);
    // The single value of a query of one row and column (nothing when it
    // gives no row or NULL).
    std::optional<std::int64_t> queryInt(std::string_view sql);
    std::optional<std::string> queryText(std::string_view sql);

    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

class Statement
{
public:
    Statement(sqlite3 *db, std::string_view sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    Statement &operator=(Statement &&) = delete;

    // Parameters are 1-based. A text is copied by SQLite.
    Statement &bind(int index, std::int64_t value);
    Statement &bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
    Statement &bind(int index, double value);
    Statement &bind(int index, std::string_view text);
    Statement &bind(int index, const char *text) { return bind(index, std::string_view(text)); }
    Statement &bind(int index, const std::string &text) { return bind(index, std::string_view(text)); }
    template <class T> Statement &bind(int index, const std::optional<T> &value)
    {
        return value ? bind(index, *value) : bindNull(index);
    }
    Statement &bindNull(int index);

    // Steps once: true while there is a row to read.
    bool step();
    // Steps a statement that gives no rows, then resets it and clears its
    // parameters for the next use.
    void run();
    void reset();

    // Columns are 0-based.
    bool isNull(int column) const;
    std::int64_t columnInt(int column) const;
    double columnDouble(int column) const;
    std::string columnText(int column) const;
    int columnCount() const;

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    std::string m_sql;
};

// BEGIN IMMEDIATE on construction; ROLLBACK on destruction unless commit()
// was called, so an exception leaves the database as it was before.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_db;
    bool m_open = true;
};

} // namespace zorbe::sqlite
