#pragma once

// The numbers the mail control's Error event carries. Each failure has its own number; the
// text beside it says what failed in words.
namespace MailError {
enum : int {
    InvalidHost = 1, // the Host text names no server
    HostNotFound = 2, // the name does not resolve
    ConnectionRefused = 3, // nothing listens on the port
    ConnectionClosed = 4, // the connection dropped before the reply was complete
    TimedOut = 5, // no answer within the time-out
    TlsFailed = 6, // certificate not accepted, handshake failed, STLS refused
    TlsRequired = 7, // TLS was asked for and the server offers none
    LogOnRefused = 8, // -ERR to the greeting or to APOP, AUTH, USER or PASS
    ServerError = 9, // -ERR to any other command
    ProtocolError = 10, // a reply that is not POP3
    ResponseTooLarge = 11, // a line or header over the bounds
    NotConnected = 12, // a request that needs a log-on first
    NoSuchMessage = 13, // MessageNumber outside 1..MessageCount
    NetworkError = 14, // any other socket failure
    ClearTextRefused = 15, // the server offers no TLS and sending in the clear is not allowed
    PasswordUnavailable = 16, // the keyring did not give the password (locked, declined)
    CertificateChanged = 17, // not the certificate the user trusted for the account
    TokenRefused = 18, // the server refused the OAuth2 access token (expired, revoked)
    TokenUnavailable = 19, // no access token could be had (not signed in, sign-in revoked)
};
} // namespace MailError
