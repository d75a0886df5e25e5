#pragma once
// Category-property data in the shape the category services give, built from
// a few properties, for tests that need only a small category.
#include <string>
#include <utility>
#include <vector>

namespace quorvane::test {

struct CategoryValue {
    std::string alias;  // as the JSON writes it ("\/" for "/")
    long vid;
};

struct CategoryProperty {
    std::string name;
    long pid;
    std::vector<CategoryValue> values;
    bool sale = false;
    bool colour = false;
    bool input = true;
    bool must = false;
    std::pair<long, long> parent{0, 0};
};

inline std::string flag(bool on) { return on ? "true" : "false"; }

inline std::string categoryJson(const std::vector<CategoryProperty>& properties) {
    std::string json = R"({"item_props":{"item_prop":[)";
    for (std::size_t p = 0; p < properties.size(); ++p) {
        const CategoryProperty& property = properties[p];
        const std::string pid = std::to_string(property.pid);
        if (p > 0) json += ",";
        json += R"({"is_color_prop":)" + flag(property.colour) + R"(,"is_enum_prop":true,"is_input_prop":)" +
                flag(property.input) + R"(,"is_item_prop":)" + flag(!property.sale) + R"(,"is_key_prop":false,)" +
                R"("is_sale_prop":)" + flag(property.sale) + R"(,"multi":)" + flag(property.sale) + R"(,"must":)" +
                flag(property.must) + R"(,"name":")" + property.name + R"(","parent_pid":)" +
                std::to_string(property.parent.first) + R"(,"parent_vid":)" + std::to_string(property.parent.second) +
                R"(,"pid":)" + pid + R"(,"prop_values":{"prop_value":[)";
        for (std::size_t v = 0; v < property.values.size(); ++v) {
            if (v > 0) json += ",";
            json += R"({"name_alias":")" + property.values[v].alias + R"(","pid":)" + pid + R"(,"prop_name":")" +
                    property.name + R"(","sort_order":)" + std::to_string(v) + R"(,"status":"normal","vid":)" +
                    std::to_string(property.values[v].vid) + "}";
        }
        json += R"(]},"sort_order":0,"status":"normal"})";
    }
    return json + "]}}";
}

}  // namespace quorvane::test
