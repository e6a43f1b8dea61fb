#include "runtime/crash/thread_context.h"

#include <cstring>

namespace vanta::crash {

using namespace minidump;

#if defined(__x86_64__)

bool contextFromSignal(const ucontext_t& ucontext, NativeContext& context) {
    const auto* registers = ucontext.uc_mcontext.gregs;
    auto reg = [registers](int index) { return static_cast<uint64_t>(registers[index]); };
    context = {};
    context.context_flags = kContextAmd64Control | kContextAmd64Integer;
    const uint64_t segments = reg(REG_CSGSFS);
    context.cs = static_cast<uint16_t>(segments);
    context.gs = static_cast<uint16_t>(segments >> 16);
    context.fs = static_cast<uint16_t>(segments >> 32);
    context.eflags = static_cast<uint32_t>(reg(REG_EFL));
    context.rax = reg(REG_RAX);
    context.rcx = reg(REG_RCX);
    context.rdx = reg(REG_RDX);
    context.rbx = reg(REG_RBX);
    context.rsp = reg(REG_RSP);
    context.rbp = reg(REG_RBP);
    context.rsi = reg(REG_RSI);
    context.rdi = reg(REG_RDI);
    context.r8 = reg(REG_R8);
    context.r9 = reg(REG_R9);
    context.r10 = reg(REG_R10);
    context.r11 = reg(REG_R11);
    context.r12 = reg(REG_R12);
    context.r13 = reg(REG_R13);
    context.r14 = reg(REG_R14);
    context.r15 = reg(REG_R15);
    context.rip = reg(REG_RIP);
    if (ucontext.uc_mcontext.fpregs != nullptr) {
        static_assert(sizeof(*ucontext.uc_mcontext.fpregs) == sizeof context.flt_save);
        memcpy(context.flt_save, ucontext.uc_mcontext.fpregs, sizeof context.flt_save);
        context.mx_csr = ucontext.uc_mcontext.fpregs->mxcsr;
        context.context_flags |= kContextAmd64FloatingPoint;
    }
    return true;
}

bool contextFromPtrace(const PtraceRegisters& registers,
                       const PtraceFloatRegisters* float_registers, NativeContext& context) {
    context = {};
    context.context_flags = kContextAmd64Control | kContextAmd64Integer;
    context.cs = static_cast<uint16_t>(registers.cs);
    context.ds = static_cast<uint16_t>(registers.ds);
    context.es = static_cast<uint16_t>(registers.es);
    context.fs = static_cast<uint16_t>(registers.fs);
    context.gs = static_cast<uint16_t>(registers.gs);
    context.ss = static_cast<uint16_t>(registers.ss);
    context.eflags = static_cast<uint32_t>(registers.eflags);
    context.rax = registers.rax;
    context.rcx = registers.rcx;
    context.rdx = registers.rdx;
    context.rbx = registers.rbx;
    context.rsp = registers.rsp;
    context.rbp = registers.rbp;
    context.rsi = registers.rsi;
    context.rdi = registers.rdi;
    context.r8 = registers.r8;
    context.r9 = registers.r9;
    context.r10 = registers.r10;
    context.r11 = registers.r11;
    context.r12 = registers.r12;
    context.r13 = registers.r13;
    context.r14 = registers.r14;
    context.r15 = registers.r15;
    context.rip = registers.rip;
    if (float_registers != nullptr) {
        static_assert(sizeof(*float_registers) == sizeof context.flt_save);
        memcpy(context.flt_save, float_registers, sizeof context.flt_save);
        context.mx_csr = float_registers->mxcsr;
        context.context_flags |= kContextAmd64FloatingPoint;
    }
    return true;
}

uintptr_t stackPointerOf(const NativeContext& context) {
    return static_cast<uintptr_t>(context.rsp);
}

#elif defined(__arm__)

bool contextFromSignal(const ucontext_t& ucontext, NativeContext& context) {
    const mcontext_t& registers = ucontext.uc_mcontext;
    context = {};
    context.context_flags = kContextArmInteger;
    const unsigned long values[16] = {
        registers.arm_r0, registers.arm_r1, registers.arm_r2,  registers.arm_r3,
        registers.arm_r4, registers.arm_r5, registers.arm_r6,  registers.arm_r7,
        registers.arm_r8, registers.arm_r9, registers.arm_r10, registers.arm_fp,
        registers.arm_ip, registers.arm_sp, registers.arm_lr,  registers.arm_pc};
    for (size_t index = 0; index < 16; ++index) {
        context.iregs[index] = static_cast<uint32_t>(values[index]);
    }
    context.cpsr = static_cast<uint32_t>(registers.arm_cpsr);
    return true;
}

bool contextFromPtrace(const PtraceRegisters& registers, const PtraceFloatRegisters*,
                       NativeContext& context) {
    // Integer registers only, as from a signal's context.
    context = {};
    context.context_flags = kContextArmInteger;
    for (size_t index = 0; index < 16; ++index) {
        context.iregs[index] = static_cast<uint32_t>(registers.uregs[index]);
    }
    context.cpsr = static_cast<uint32_t>(registers.uregs[16]);
    return true;
}

uintptr_t stackPointerOf(const NativeContext& context) {
    return context.iregs[13];
}

#else

bool contextFromSignal(const ucontext_t&, NativeContext&) {
    return false;
}

bool contextFromPtrace(const PtraceRegisters&, const PtraceFloatRegisters*, NativeContext&) {
    return false;
}

uintptr_t stackPointerOf(const NativeContext&) {
    return 0;
}

#endif

}  // namespace vanta::crash
