#include "collect/item/unicode_escapes.h"

#include "text/com.h"
#include "text/search.h"

namespace quorvane {

namespace {

constexpr std::string_view kLineBreakStandIn = "{$}";
constexpr std::string_view kApostropheStandIn = "’";

}  // namespace

std::string decodeUnicodeEscapes(std::string_view input) {
    std::string text = replaceText(input, "\r\n", kLineBreakStandIn);
    if (!text.empty() && text.front() == '\r') text.erase(0, 1);
    if (findLeft(text, "\\u") != -1) text = replaceText(text, "\\u", "%u");
    // An apostrophe would end the script's string literal.
    text = replaceText(text, "'", kApostropheStandIn);

    const ComPtr<IDispatch> script = createComObject(L"ScriptControl");
    if (!script) return {};
    if (!comPut(script.get(), L"Language", Variant::fromGbk("JScript").value())) return {};
    const Variant statement = Variant::fromGbk("function xx(){var x='" + text + "';return unescape(x);}");
    Variant ignored;
    if (!comCall(script.get(), L"ExecuteStatement", ignored, {&statement.value()})) return {};
    // Eval rather than Run: Wine's Run refuses a call without arguments.
    const Variant call = Variant::fromGbk("xx()");
    Variant result;
    if (!comCall(script.get(), L"Eval", result, {&call.value()})) return {};

    std::string decoded = replaceText(result.toGbk(), kApostropheStandIn, "'");
    return replaceText(decoded, kLineBreakStandIn, "\r\n");
}

}  // namespace quorvane
