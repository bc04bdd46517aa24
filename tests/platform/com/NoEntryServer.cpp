// A library that loads but is no COM server: it lacks DllGetClassObject.
extern "C" __attribute__((visibility("default"))) int NotAServer()
{
    return 0;
}
