#pragma once
// Two thin wrappers over the platform's "VBScript.RegExp" COM object. A
// failed COM call gives an empty value (empty text, 0, false) and is not
// reported. RegExpA needs COM initialised on its thread beforehand; RegExpB
// initialises COM when built and uninitialises it when destroyed, so it must
// be built and destroyed on the same thread.
#include "text/com.h"

#include <memory>
#include <string>
#include <string_view>

namespace quorvane {

class RegExpA {
public:
    RegExpA() = default;
    RegExpA(const RegExpA&) = delete;
    RegExpA& operator=(const RegExpA&) = delete;

    // Shares the COM object and the last matches.
    std::unique_ptr<RegExpA> copy() const;

    bool create(std::string_view pattern, bool ignoreCase = true, bool multiline = true, bool global = true);
    std::string getPattern() const;
    std::string replace(std::string_view text, std::string_view replacement) const;
    int execute(std::string_view text);
    int matchCount() const { return count_; }
    // i and j are 1-based.
    std::string matchText(int i) const;
    std::string subMatchText(int i, int j) const;
    int subMatchCount() const;

private:
    ComPtr<IDispatch> regExp_;
    ComPtr<IDispatch> matches_;
    int count_ = 0;
};

class RegExpB {
public:
    RegExpB();
    ~RegExpB();
    RegExpB(const RegExpB&) = delete;
    RegExpB& operator=(const RegExpB&) = delete;

    // Shares the COM object and the last matches, keeps its own text copy.
    std::unique_ptr<RegExpB> copy() const;

    bool execute(std::string_view pattern, std::string_view text, bool caseSensitive = false, bool multiline = true,
                 bool global = true);
    void doNothing() {}
    std::string getPattern() const;
    // Applied to the text of the last execute.
    std::string replace(std::string_view replacement) const;
    int matchCount() const;
    // When position is given it receives the 0-based byte offset of the
    // match (or sub-match) in the kept GBK text.
    std::string matchText(int i, int* position = nullptr) const;
    std::string subMatchText(int i, int j, int* position = nullptr) const;
    int subMatchCount() const;

private:
    // First, so COM is uninitialised only after the objects are released.
    ComScope com_;
    ComPtr<IDispatch> regExp_;
    ComPtr<IDispatch> matches_;
    std::string text_;
};

}  // namespace quorvane
