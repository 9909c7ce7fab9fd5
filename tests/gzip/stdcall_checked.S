/* uint32_t stdcall_checked(const void* function, const uint32_t* words, uint32_t count,
 *                          int32_t outcome[2])   (cdecl, i686)
 *
 * Calls a stdcall function with count 32-bit words as its arguments, the way a 32-bit
 * caller such as an 易语言 program pushes them, and returns its EAX. outcome[0]: the
 * bytes of those arguments the function left on the stack, 0 when its `ret N` pops
 * exactly what was pushed (negative: it popped more). outcome[1]: 1 when it changed ebx,
 * esi or edi, which its callers keep values in. Either way the stack and the registers
 * are restored here, so the caller can go on and report. */
    .text
    .globl _stdcall_checked
_stdcall_checked:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    /* The last word first: the first argument ends on top. */
    movl 12(%ebp), %edx
    movl 16(%ebp), %ecx
1:  testl %ecx, %ecx
    jz 2f
    pushl -4(%edx,%ecx,4)
    decl %ecx
    jmp 1b
    /* Values no function would leave in them by chance. */
2:  movl $0x1BADB002, %ebx
    movl $0x5EED5EED, %esi
    movl $0xD15EA5ED, %edi
    call *8(%ebp)
    /* Where the stack pointer stood before the arguments, minus where it stands now. */
    leal -12(%ebp), %ecx
    subl %esp, %ecx
    movl 20(%ebp), %edx
    movl %ecx, (%edx)
    movl $1, 4(%edx)
    cmpl $0x1BADB002, %ebx
    jne 3f
    cmpl $0x5EED5EED, %esi
    jne 3f
    cmpl $0xD15EA5ED, %edi
    jne 3f
    movl $0, 4(%edx)
3:  leal -12(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
