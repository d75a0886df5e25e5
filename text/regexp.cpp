#include "text/regexp.h"

#include "text/search.h"

namespace quorvane {

namespace {

ComPtr<IDispatch> newRegExp() { return createComObject(L"VBScript.RegExp"); }

void put(IDispatch* object, const wchar_t* name, const Variant& value) { comPut(object, name, value.value()); }

std::string textProperty(IDispatch* object, const wchar_t* name) {
    Variant value;
    comGet(object, name, value);
    return value.toGbk();
}

int intProperty(IDispatch* object, const wchar_t* name) {
    Variant value;
    comGet(object, name, value);
    return value.toInt();
}

ComPtr<IDispatch> objectProperty(IDispatch* object, const wchar_t* name) {
    Variant value;
    comGet(object, name, value);
    return value.toDispatch();
}

// Item(index) of a match or sub-match collection; index is 0-based.
bool item(IDispatch* collection, int index, Variant& result) {
    if (index < 0) return false;
    const Variant at = Variant::fromInt(index);
    return comGet(collection, L"Item", result, {&at.value()});
}

ComPtr<IDispatch> match(IDispatch* matches, int i) {
    Variant m;
    item(matches, i - 1, m);
    return m.toDispatch();
}

ComPtr<IDispatch> executeIn(IDispatch* regExp, std::string_view text) {
    const Variant arg = Variant::fromGbk(text);
    Variant result;
    comCall(regExp, L"Execute", result, {&arg.value()});
    return result.toDispatch();
}

std::string replaceIn(IDispatch* regExp, std::string_view text, std::string_view replacement) {
    const Variant source = Variant::fromGbk(text);
    const Variant with = Variant::fromGbk(replacement);
    Variant result;
    comCall(regExp, L"Replace", result, {&source.value(), &with.value()});
    return result.toGbk();
}

std::string subMatch(IDispatch* matches, int i, int j) {
    const ComPtr<IDispatch> subMatches = objectProperty(match(matches, i).get(), L"SubMatches");
    Variant value;
    item(subMatches.get(), j - 1, value);
    return value.toGbk();
}

int subMatchCountOfFirst(IDispatch* matches) {
    return intProperty(objectProperty(match(matches, 1).get(), L"SubMatches").get(), L"Count");
}

// FirstIndex counts UTF-16 units; every GBK character, one byte or two, is
// one unit. Returns the 0-based byte offset of that unit.
int byteOffsetOfUnit(std::string_view gbk, int units) {
    size_t at = 0;
    for (int n = 0; n < units && at < gbk.size(); ++n)
        at += IsDBCSLeadByteEx(936, static_cast<BYTE>(gbk[at])) && at + 1 < gbk.size() ? 2 : 1;
    return static_cast<int>(at);
}

// 0-based byte offset of sought in text at or after the character that the
// match's FirstIndex names; -1 when it is not there.
int offsetFrom(std::string_view text, IDispatch* m, std::string_view sought) {
    const int start = byteOffsetOfUnit(text, intProperty(m, L"FirstIndex"));
    if (sought.empty()) return start;
    const int found = findLeft(text, sought, start + 1);
    return found < 0 ? -1 : found - 1;
}

}  // namespace

std::unique_ptr<RegExpA> RegExpA::copy() const {
    auto other = std::make_unique<RegExpA>();
    other->regExp_ = regExp_;
    other->matches_ = matches_;
    other->count_ = count_;
    return other;
}

bool RegExpA::create(std::string_view pattern, bool ignoreCase, bool multiline, bool global) {
    matches_.reset();
    count_ = 0;
    regExp_ = newRegExp();
    if (!regExp_) return false;
    put(regExp_.get(), L"IgnoreCase", Variant::fromBool(ignoreCase));
    put(regExp_.get(), L"Multiline", Variant::fromBool(multiline));
    put(regExp_.get(), L"Global", Variant::fromBool(global));
    put(regExp_.get(), L"Pattern", Variant::fromGbk(pattern));
    return true;
}

std::string RegExpA::getPattern() const { return textProperty(regExp_.get(), L"Pattern"); }

std::string RegExpA::replace(std::string_view text, std::string_view replacement) const {
    return replaceIn(regExp_.get(), text, replacement);
}

int RegExpA::execute(std::string_view text) {
    matches_ = executeIn(regExp_.get(), text);
    count_ = intProperty(matches_.get(), L"Count");
    return count_;
}

std::string RegExpA::matchText(int i) const { return textProperty(match(matches_.get(), i).get(), L"Value"); }

std::string RegExpA::subMatchText(int i, int j) const { return subMatch(matches_.get(), i, j); }

int RegExpA::subMatchCount() const { return count_ == 0 ? 0 : subMatchCountOfFirst(matches_.get()); }

RegExpB::RegExpB() = default;

RegExpB::~RegExpB() = default;

std::unique_ptr<RegExpB> RegExpB::copy() const {
    auto other = std::make_unique<RegExpB>();
    other->regExp_ = regExp_;
    other->matches_ = matches_;
    other->text_ = text_;
    return other;
}

bool RegExpB::execute(std::string_view pattern, std::string_view text, bool caseSensitive, bool multiline,
                      bool global) {
    // Dropped first so a failed execute leaves no matches of an earlier one.
    matches_.reset();
    text_.assign(text);
    regExp_ = newRegExp();
    if (!regExp_) return false;
    put(regExp_.get(), L"IgnoreCase", Variant::fromBool(!caseSensitive));
    put(regExp_.get(), L"Multiline", Variant::fromBool(multiline));
    // The object has no such property; the write fails and "." keeps its meaning.
    put(regExp_.get(), L"Singleline", Variant::fromBool(true));
    put(regExp_.get(), L"Global", Variant::fromBool(global));
    put(regExp_.get(), L"Pattern", Variant::fromGbk(pattern));
    matches_ = executeIn(regExp_.get(), text_);
    return static_cast<bool>(matches_);
}

std::string RegExpB::getPattern() const { return textProperty(regExp_.get(), L"Pattern"); }

std::string RegExpB::replace(std::string_view replacement) const {
    return replaceIn(regExp_.get(), text_, replacement);
}

int RegExpB::matchCount() const { return intProperty(matches_.get(), L"Count"); }

std::string RegExpB::matchText(int i, int* position) const {
    const ComPtr<IDispatch> m = match(matches_.get(), i);
    std::string value = textProperty(m.get(), L"Value");
    if (position) *position = m ? offsetFrom(text_, m.get(), value) : -1;
    return value;
}

std::string RegExpB::subMatchText(int i, int j, int* position) const {
    std::string value = subMatch(matches_.get(), i, j);
    if (position) {
        const ComPtr<IDispatch> m = match(matches_.get(), i);
        *position = m && !value.empty() ? offsetFrom(text_, m.get(), value) : -1;
    }
    return value;
}

int RegExpB::subMatchCount() const { return subMatchCountOfFirst(matches_.get()); }

}  // namespace quorvane
