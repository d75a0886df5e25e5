#include "toolkit/method_thunk.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace quorvane::toolkit {
namespace {

class CodeWriter {
public:
    CodeWriter& bytes(std::initializer_list<unsigned char> values) {
        code_.insert(code_.end(), values);
        return *this;
    }
    CodeWriter& le16(std::uint16_t value) { return little(value, 2); }
    CodeWriter& le32(std::uint32_t value) { return little(value, 4); }
    CodeWriter& le64(std::uint64_t value) { return little(value, 8); }
    MachineCode take() { return std::move(code_); }

private:
    CodeWriter& little(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i) code_.push_back(static_cast<unsigned char>(value >> (8 * i)));
        return *this;
    }

    MachineCode code_;
};

bool argumentSizeAccepted(int argumentCount) {
    return argumentCount >= 0 && argumentCount <= kMaxThunkArgumentBytes / 4;
}

}  // namespace

MachineCode x86MethodThunk(std::uint32_t object, std::uint32_t method, int argumentCount, bool passEcx,
                           bool callerCleans) {
    if (!argumentSizeAccepted(argumentCount)) return {};
    const auto n = static_cast<std::uint32_t>(argumentCount) * 4;
    CodeWriter code;
    code.bytes({0x55})        // push ebp
        .bytes({0x8B, 0xEC})  // mov ebp, esp
        .bytes({0x68})        // push obj: [ebp-4] holds the object
        .le32(object)
        .bytes({0x53})              // push ebx  [ebp-8]
        .bytes({0x51})              // push ecx  [ebp-12]
        .bytes({0x56})              // push esi  [ebp-16]
        .bytes({0x57})              // push edi  [ebp-20]
        .bytes({0x6A, 0x00})        // push 0    [ebp-24]: FPU control word
        .bytes({0xD9, 0x3C, 0x24})  // fnstcw [esp]
        .bytes({0xDB, 0xE3});       // fninit
    if (n > 0) {
        code.bytes({0xB9})  // mov ecx, n
            .le32(n)
            .bytes({0x2B, 0xE1})         // sub esp, ecx
            .bytes({0x8D, 0x75, 0x08})   // lea esi, [ebp+8]
            .bytes({0x8D, 0x3C, 0x24})   // lea edi, [esp]
            .bytes({0xFC})               // cld
            .bytes({0xF3, 0xA4})         // rep movsb
            .bytes({0x8B, 0x4D, 0xF4})   // mov ecx, [ebp-12]
            .bytes({0x8B, 0x75, 0xF0})   // mov esi, [ebp-16]
            .bytes({0x8B, 0x7D, 0xEC});  // mov edi, [ebp-20]
    }
    if (passEcx) code.bytes({0x51});  // push ecx
    code.bytes({0x8D, 0x45, 0xFC})    // lea eax, [ebp-4]: the object reference
        .bytes({0x50})                // push eax
        .bytes({0xB8})                // mov eax, meth
        .le32(method)
        .bytes({0xFF, 0xD0})        // call eax
        .bytes({0x8B, 0x5D, 0xF8})  // mov ebx, [ebp-8]
        .bytes({0x8B, 0x4D, 0xF4})  // mov ecx, [ebp-12]
        .bytes({0x8B, 0x75, 0xF0})  // mov esi, [ebp-16]
        .bytes({0x8B, 0x7D, 0xEC})  // mov edi, [ebp-20]
        .bytes({0xD9, 0x6D, 0xE8})  // fldcw [ebp-24]
        .bytes({0x8B, 0xE5})        // mov esp, ebp
        .bytes({0x5D})              // pop ebp
        .bytes({0xC2})              // ret r
        .le16(static_cast<std::uint16_t>(callerCleans ? 0 : n));
    return code.take();
}

// Arguments 1 to 4 arrive in rcx, rdx, r8, r9 and the rest on the stack above
// the caller's shadow space; the method's arguments are the same shifted by
// one place, with the object reference first. The object's address sits in
// a slot of the thunk's frame, so the reference is the address of that slot,
// as in the 32-bit thunk.
MachineCode x64MethodThunk(std::uint64_t object, std::uint64_t method, int argumentCount) {
    if (!argumentSizeAccepted(argumentCount)) return {};
    const std::uint32_t outgoing = 8 * static_cast<std::uint32_t>(argumentCount + 1 < 4 ? 4 : argumentCount + 1);
    const std::uint32_t objectSlot = outgoing;
    // rsp is 8 off a 16-byte boundary at entry and must be on one at the call.
    const std::uint32_t frame = (outgoing + 8) % 16 == 8 ? outgoing + 8 : outgoing + 16;
    CodeWriter code;
    code.bytes({0x48, 0x81, 0xEC}).le32(frame);  // sub rsp, frame
    for (int i = argumentCount - 1; i >= 4; --i) {
        const auto argument = static_cast<std::uint32_t>(i);
        code.bytes({0x48, 0x8B, 0x84, 0x24})
            .le32(frame + 8 + 8 * argument)  // mov rax, [rsp+caller's slot]
            .bytes({0x48, 0x89, 0x84, 0x24})
            .le32(8 * (argument + 1));  // mov [rsp+method's slot], rax
    }
    if (argumentCount >= 4) code.bytes({0x4C, 0x89, 0x4C, 0x24, 0x20});  // mov [rsp+0x20], r9
    if (argumentCount >= 3) code.bytes({0x4D, 0x89, 0xC1});              // mov r9, r8
    if (argumentCount >= 2) code.bytes({0x49, 0x89, 0xD0});              // mov r8, rdx
    if (argumentCount >= 1) code.bytes({0x48, 0x89, 0xCA});              // mov rdx, rcx
    code.bytes({0x48, 0xB8})
        .le64(object)  // mov rax, obj
        .bytes({0x48, 0x89, 0x84, 0x24})
        .le32(objectSlot)  // mov [rsp+slot], rax
        .bytes({0x48, 0x8D, 0x8C, 0x24})
        .le32(objectSlot)  // lea rcx, [rsp+slot]
        .bytes({0x48, 0xB8})
        .le64(method)         // mov rax, meth
        .bytes({0xFF, 0xD0})  // call rax
        .bytes({0x48, 0x81, 0xC4})
        .le32(frame)     // add rsp, frame
        .bytes({0xC3});  // ret
    return code.take();
}

MachineCode buildMethodThunk(ObjectReference self, int methodNumber, int argumentCount, bool passEcx,
                             bool callerCleans) {
    if (!self || !*self || methodNumber < 1) return {};
    MethodTableObject* object = *self;
    const MethodAddress method = object->methodTable ? object->methodTable[methodNumber - 1] : nullptr;
    if (!method) return {};
#if defined(__i386__)
    return x86MethodThunk(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(object)),
                          static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(method)), argumentCount, passEcx,
                          callerCleans);
#else
    (void)callerCleans;  // the x64 caller always removes the arguments
    if (passEcx) return {};
    return x64MethodThunk(reinterpret_cast<std::uintptr_t>(object), reinterpret_cast<std::uintptr_t>(method),
                          argumentCount);
#endif
}

}  // namespace quorvane::toolkit
