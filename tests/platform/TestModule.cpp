// A tiny run-time module for the module-loader tests. Built twice, with a
// different TEST_MODULE_NAME, to tell apart which copy was loaded.
#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT const char* TestModule_Name()
{
    return TEST_MODULE_NAME;
}

EXPORT int TestModule_Add(int a, int b)
{
    return a + b;
}
