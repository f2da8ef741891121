#pragma once

// Settings the ODBC driver takes from the environment, made before the first connection.
void prepareDriverEnvironment();
