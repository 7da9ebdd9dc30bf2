#include "json_writer.h"

#include <cmath>
#include <cstdio>

namespace vallorn::sim {

void JsonWriter::Prefix(std::string_view key) {
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
        out_ += '\n';
        out_.append(first_.size() * 2, ' ');
    }
    if (!key.empty()) {
        out_ += Quote(key);
        out_ += ": ";
    }
}

std::string JsonWriter::Quote(std::string_view s) {
    std::string q = "\"";
    for (char c : s) {
        switch (c) {
            case '"':
                q += "\\\"";
                break;
            case '\\':
                q += "\\\\";
                break;
            case '\n':
                q += "\\n";
                break;
            case '\t':
                q += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    q += buf;
                } else {
                    q += c;
                }
        }
    }
    return q + "\"";
}

JsonWriter& JsonWriter::BeginObject(std::string_view key) {
    Prefix(key);
    out_ += '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    const bool empty = first_.back();
    first_.pop_back();
    if (!empty) {
        out_ += '\n';
        out_.append(first_.size() * 2, ' ');
    }
    out_ += '}';
    if (first_.empty()) out_ += '\n';
    return *this;
}

JsonWriter& JsonWriter::BeginArray(std::string_view key) {
    Prefix(key);
    out_ += '[';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    const bool empty = first_.back();
    first_.pop_back();
    if (!empty) {
        out_ += '\n';
        out_.append(first_.size() * 2, ' ');
    }
    out_ += ']';
    return *this;
}

JsonWriter& JsonWriter::Field(std::string_view key, std::string_view value) {
    Prefix(key);
    out_ += Quote(value);
    return *this;
}

JsonWriter& JsonWriter::Field(std::string_view key, int64_t value) {
    Prefix(key);
    out_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Field(std::string_view key, double value) {
    Prefix(key);
    if (!std::isfinite(value)) {
        out_ += "null";
        return *this;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", value);
    out_ += buf;
    return *this;
}

JsonWriter& JsonWriter::Field(std::string_view key, bool value) {
    Prefix(key);
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Item(int64_t value) {
    Prefix({});
    out_ += std::to_string(value);
    return *this;
}

}  // namespace vallorn::sim
