// A module of resources only; the linker wants one object of code.
