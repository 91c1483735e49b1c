// Windows Sockets is started by the first socket or resolver and released
// with the last socket; the process keeps the count.
#pragma once

// Starts Windows Sockets 1.1 once; ESocketException when it cannot.
void WSocketStartWinsock();
