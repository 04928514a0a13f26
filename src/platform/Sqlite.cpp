#include "platform/Sqlite.h"

#include <sqlite3.h>

namespace zorbe::sqlite {
namespace {

[[noreturn]] void fail(sqlite3 *db, std::string_view what)
{
    if (db && (sqlite3_extended_errcode(db) & 0xff) == SQLITE_CONSTRAINT)
        // SQLite's message names the table and the key; the statement adds
        // nothing the user can act on.
        throw ConstraintError("データベースに書けない行です: " + std::string(sqlite3_errmsg(db)));
    throw Error("データベースのエラー: " + std::string(db ? sqlite3_errmsg(db) : "メモリが足りません") + " (" +
                std::string(what) + ")");
}

} // namespace

Database::Database(const std::filesystem::path &file)
{
    const int rc = sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string why = m_db ? sqlite3_errmsg(m_db) : "メモリが足りません";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw Error("データベースを開けません: " + file.string() + " (" + why + ")");
    }
    sqlite3_extended_result_codes(m_db, 1);
    // A reader (another program querying the file) holds a lock for a
    // moment; wait for it rather than failing at once.
    sqlite3_busy_timeout(m_db, 5000);
}

Database::~Database()
{
    sqlite3_close_v2(m_db);
}

void Database::exec(std::string_view sql)
{
    const std::string text(sql);
    char *message = nullptr;
    if (sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string why = message ? message : sqlite3_errmsg(m_db);
        sqlite3_free(message);
        throw Error("データベースのエラー: " + why + " (" + text.substr(0, 80) + ")");
    }
}

Statement Database::prepare(std::string_view sql)
{
    return Statement(m_db, sql);
}

std::optional<std::int64_t> Database::queryInt(std::string_view sql)
{
    Statement s = prepare(sql);
    if (!s.step() || s.isNull(0))
        return std::nullopt;
    return s.columnInt(0);
}

std::optional<std::string> Database::queryText(std::string_view sql)
{
    Statement s = prepare(sql);
    if (!s.step() || s.isNull(0))
        return std::nullopt;
    return s.columnText(0);
}

Statement::Statement(sqlite3 *db, std::string_view sql)
    : m_db(db), m_sql(sql)
{
    if (sqlite3_prepare_v2(m_db, m_sql.c_str(), static_cast<int>(m_sql.size()), &m_stmt, nullptr) != SQLITE_OK)
        fail(m_db, m_sql.substr(0, 80));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(other.m_db), m_stmt(other.m_stmt), m_sql(std::move(other.m_sql))
{
    other.m_stmt = nullptr;
}

Statement &Statement::bind(int index, std::int64_t value)
{
    if (sqlite3_bind_int64(m_stmt, index, value) != SQLITE_OK)
        fail(m_db, m_sql.substr(0, 80));
    return *this;
}

Statement &Statement::bind(int index, double value)
{
    if (sqlite3_bind_double(m_stmt, index, value) != SQLITE_OK)
        fail(m_db, m_sql.substr(0, 80));
    return *this;
}

Statement &Statement::bind(int index, std::string_view text)
{
    if (sqlite3_bind_text64(m_stmt, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
        fail(m_db, m_sql.substr(0, 80));
    return *this;
}

Statement &Statement::bindNull(int index)
{
    if (sqlite3_bind_null(m_stmt, index) != SQLITE_OK)
        fail(m_db, m_sql.substr(0, 80));
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(m_db, m_sql.substr(0, 80));
}

void Statement::run()
{
    while (step()) {
    }
    reset();
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

std::int64_t Statement::columnInt(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double Statement::columnDouble(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

std::string Statement::columnText(int column) const
{
    const unsigned char *text = sqlite3_column_text(m_stmt, column);
    const int n = sqlite3_column_bytes(m_stmt, column);
    return text ? std::string(reinterpret_cast<const char *>(text), static_cast<std::size_t>(n)) : std::string();
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

Transaction::Transaction(Database &db)
    : m_db(db)
{
    m_db.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (m_open)
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    m_db.exec("COMMIT");
    m_open = false;
}

} // namespace zorbe::sqlite
