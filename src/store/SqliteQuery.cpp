#include "store/SqliteQuery.h"

#include "core/CoursewarePath.h"
#include "core/GbkText.h"
#include "store/SqliteStatement.h"

namespace ov {
namespace {

// A data set is held whole; a database that returns more than this (an endless
// view) fails instead of eating the memory. Real catalogues hold a few hundred KB.
constexpr size_t kMaxDataSetBytes = size_t{64} << 20;

bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// Older tools wrote database text in GBK; ours write UTF-8.
std::string TextOf(std::string_view stored) {
    return IsUtf8(stored) ? std::string(stored) : GbkToUtf8(stored);
}

}  // namespace

void SqliteQuery::SetSql(std::string sql) {
    Close();
    sql_ = std::move(sql);
    parameters_.clear();
}

void SqliteQuery::SetParameter(const std::string& name, SqliteParameter value) {
    parameters_[name] = std::move(value);
}

void SqliteQuery::Open() {
    Close();
    if (!connection_) throw ESqliteError("Data set has no connection");
    SqliteStatement statement = connection_->Database().Prepare(sql_);
    for (const auto& [name, value] : parameters_)
        std::visit([&, &key = name](const auto& v) { statement.Bind(":" + key, v); }, value);

    std::vector<std::string> fields;
    for (int c = 0; c < statement.ColumnCount(); ++c) fields.push_back(statement.ColumnName(c));
    std::vector<std::vector<std::string>> records;
    size_t held = 0;
    while (statement.Step()) {
        auto& record = records.emplace_back();
        record.reserve(fields.size());
        held += sizeof record;
        for (int c = 0; c < statement.ColumnCount(); ++c) {
            record.push_back(TextOf(statement.ColumnText(c)));
            held += sizeof(std::string) + record.back().size();
        }
        if (held > kMaxDataSetBytes) throw ESqliteError("Query returns more data than a data set can hold");
    }
    fields_ = std::move(fields);
    records_ = std::move(records);
    open_ = true;
    generation_ = connection_->Generation();
    First();
}

void SqliteQuery::Close() {
    open_ = false;
    fields_.clear();
    records_.clear();
    current_ = 0;
    eof_ = true;
}

bool SqliteQuery::Active() const {
    return open_ && connection_ && connection_->Generation() == generation_;
}

void SqliteQuery::First() {
    current_ = 0;
    eof_ = records_.empty();
}

void SqliteQuery::Next() { MoveBy(1); }

void SqliteQuery::MoveBy(int distance) {
    if (records_.empty()) return;
    if (distance > 0) {
        const size_t left = records_.size() - 1 - current_;
        if (static_cast<size_t>(distance) > left) eof_ = true;
        current_ += std::min(left, static_cast<size_t>(distance));
    } else if (distance < 0) {
        current_ -= std::min(current_, static_cast<size_t>(-static_cast<int64_t>(distance)));
        eof_ = false;
    }
}

int SqliteQuery::RecNo() const { return Active() && !records_.empty() ? static_cast<int>(current_) + 1 : 0; }

int SqliteQuery::RecordCount() const { return Active() ? static_cast<int>(records_.size()) : 0; }

const std::string& SqliteQuery::FieldByName(std::string_view name) const {
    static const std::string kEmpty;
    if (!Active()) return kEmpty;
    const std::string wanted = AsciiLower(name);
    for (size_t f = 0; f < fields_.size(); ++f) {
        if (AsciiLower(fields_[f]) != wanted) continue;
        return records_.empty() ? kEmpty : records_[current_][f];
    }
    throw ESqliteError("Field '" + std::string(name) + "' not found");
}

}  // namespace ov
