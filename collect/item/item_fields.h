// collect/item: an item's data and page: the working record its steps fill, the item data, the
// page's basic fields, and the page parts, page text and id checks they are read with.

#pragma once
// The working record of one item: created empty for every item a worker
// takes, filled by the item's steps one after another and read by the row
// writer at the end. Fields that end in a package column carry the name of
// their 5.X column; all texts are GBK.
#include <string>

namespace quorvane {

struct ItemFields {
    // Working fields.
    std::string itemId;        // digits, from the item list's id column
    std::string pageText;      // the item-data answer as text
    bool isTmall = false;      // the page text holds "天猫Tmall"
    std::string propertyList;  // name:value; entries, later pid:vid; entries
    std::string categoryJson;  // the category's property data
    std::string stockAnswer;   // Taobao items: the stock service's answer

    // Row fields, by their 5.X column.
    std::string title;
    std::string cid;
    std::string location_state;
    std::string location_city;
    std::string price;
    std::string num;
    std::string valid_thru;
    std::string freight_payer;
    std::string list_time;
    std::string description;
    std::string cateProps;
    std::string modified;
    std::string upload_fail_msg;
    std::string picture;  // the picture field, entries closed by "|;"
    std::string skuProps;
    std::string inputPids;
    std::string inputValues;
    std::string propAlias;
    std::string foodparame;
    std::string features;
    std::string item_size;
    std::string item_weight;
    std::string wireless_desc;
    std::string subtitle;
    std::string input_custom_cpv;
};

}  // namespace quorvane
