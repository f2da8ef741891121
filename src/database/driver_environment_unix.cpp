#include "driver_environment.h"

#include <cstdlib>

// FreeTDS, the "SQL Server" driver on Linux, falls back after a connection timeout to a legacy
// login that sends the password in clear text and then never returns. A fixed protocol version
// keeps the attempt bounded; a version the operator set stays.
void prepareDriverEnvironment() {
    setenv("TDSVER", "7.4", 0);
}
