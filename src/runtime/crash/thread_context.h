#pragma once

#include <sys/types.h>
#include <sys/user.h>
#include <ucontext.h>

#include <cstdint>

#include "runtime/crash/minidump_format.h"

// A thread's registers in the minidump layout of this machine's architecture,
// taken from a signal's context or from what ptrace reads. Only copies: a
// signal handler may use it.
namespace vanta::crash {

#if defined(__x86_64__)
using NativeContext = minidump::ContextAmd64;
// What PTRACE_GETREGSET reads: NT_PRSTATUS and NT_PRFPREG.
using PtraceRegisters = user_regs_struct;
using PtraceFloatRegisters = user_fpregs_struct;
constexpr bool kHasNativeContext = true;
#elif defined(__arm__)
using NativeContext = minidump::ContextArm;
using PtraceRegisters = user_regs;  // r0..r15, cpsr, orig_r0
using PtraceFloatRegisters = user_fpregs;
constexpr bool kHasNativeContext = true;
#else
// No register layout for this architecture: dumps carry no context.
struct NativeContext {};
struct PtraceRegisters {};
struct PtraceFloatRegisters {};
constexpr bool kHasNativeContext = false;
#endif

// The registers of the thread a signal interrupted. False without a layout.
bool contextFromSignal(const ucontext_t& ucontext, NativeContext& context);

// The registers of a thread stopped under ptrace; `float_registers` may be
// null when they could not be read. False without a layout.
bool contextFromPtrace(const PtraceRegisters& registers,
                       const PtraceFloatRegisters* float_registers, NativeContext& context);

uintptr_t stackPointerOf(const NativeContext& context);

}  // namespace vanta::crash
