// A small streaming JSON writer for the runner's reports.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vallorn::sim {

class JsonWriter {
public:
    JsonWriter& BeginObject(std::string_view key = {});
    JsonWriter& EndObject();
    JsonWriter& BeginArray(std::string_view key = {});
    JsonWriter& EndArray();
    JsonWriter& Field(std::string_view key, std::string_view value);
    JsonWriter& Field(std::string_view key, const char* value) {
        return Field(key, std::string_view(value));
    }
    JsonWriter& Field(std::string_view key, int64_t value);
    JsonWriter& Field(std::string_view key, int32_t value) { return Field(key, int64_t(value)); }
    JsonWriter& Field(std::string_view key, uint32_t value) { return Field(key, int64_t(value)); }
    JsonWriter& Field(std::string_view key, uint16_t value) { return Field(key, int64_t(value)); }
    JsonWriter& Field(std::string_view key, uint8_t value) { return Field(key, int64_t(value)); }
    JsonWriter& Field(std::string_view key, double value);
    JsonWriter& Field(std::string_view key, float value) { return Field(key, double(value)); }
    JsonWriter& Field(std::string_view key, bool value);
    JsonWriter& Item(int64_t value);
    const std::string& Text() const { return out_; }

private:
    void Prefix(std::string_view key);
    static std::string Quote(std::string_view s);
    std::string out_;
    std::vector<bool> first_;  // per open container: no element written yet
};

}  // namespace vallorn::sim
