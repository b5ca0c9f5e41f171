#ifndef QUENVALE_TESTS_HTTPTESTSERVER_H
#define QUENVALE_TESTS_HTTPTESTSERVER_H

#include <string>
#include <vector>

#include "tests/support/win/TempFiles.h"

// The Python test server (tests/support/http_test_server.py) on 127.0.0.1,
// started as a Unix process from a Wine test. It serves the files that a
// test puts under Www(), logs every request and keeps every posted body; it
// stops when this object goes (or by itself after a few minutes).
class C_HttpTestServer {
public:
    C_HttpTestServer() = default;
    ~C_HttpTestServer() { Stop(); }
    C_HttpTestServer(const C_HttpTestServer&) = delete;
    C_HttpTestServer& operator=(const C_HttpTestServer&) = delete;

    // False when Python or the script cannot be started, or no port came.
    bool Start();
    void Stop();

    int Port() const { return nPort; }
    // "http://127.0.0.1:<port>" followed by strPath (which starts with '/').
    std::string Url(const std::string& strPath) const;
    // The folder whose files are served, with its trailing '\'.
    std::string Www() const { return folder / "www\\"; }
    // A file served at "/<strName>".
    bool Serve(const std::string& strName, const std::string& strData) const;
    // The request lines so far ("GET /path?query").
    std::vector<std::string> Requests() const;
    // The n'th posted body and its headers (from 1), "<missing>" when none.
    std::string PostedBody(int n) const;
    std::string PostedHeaders(int n) const;

    // Whether this machine can run the server (python3 under Wine).
    static bool IsAvailable();

private:
    C_TempFolder folder;
    int nPort = 0;
};

#endif
