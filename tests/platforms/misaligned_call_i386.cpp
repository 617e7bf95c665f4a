#include "misaligned_call.h"

// Written in assembly because no compiler would produce a misaligned call.
// Both names enter the same code: the callee's answer stays in EAX or in
// the x87 register for the caller to take as its declared type.
__asm__(R"(
    .text
    .globl _misalignedCall
    .globl _misalignedCallFloat
_misalignedCall:
_misalignedCallFloat:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl 8(%ebp), %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl 20(%ebp), %edx
    subl $64, %esp
    leal 0(,%ecx,4), %eax
    subl %eax, %esp
    andl $-16, %esp
    addl %edx, %esp
    xorl %ebx, %ebx
1:
    cmpl %ecx, %ebx
    jae 2f
    movl (%esi,%ebx,4), %eax
    movl %eax, (%esp,%ebx,4)
    incl %ebx
    jmp 1b
2:
    call *%edi
    leal -12(%ebp), %esp
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
)");
