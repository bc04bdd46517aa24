#pragma once
// The COM runtime library is built with hidden visibility: only what is marked
// COM_API is exported, so a program or component that carries its own copy of
// a helper never binds to the runtime's, nor the runtime to theirs.
#define COM_API __attribute__((visibility("default")))
