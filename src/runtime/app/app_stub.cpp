// Placeholder until the application frame is written.
#include "runtime/app/app.h"

int runtime_main(int, char**, const StartSettings&, void (*)()) { return 0; }
