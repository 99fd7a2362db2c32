# A mail server for the tests on 127.0.0.1: it keeps each message in a
# Maildir and writes every login attempt to MAILDIR.logins.
#   smtp_server.py PORT MAILDIR MODE [CERT KEY]
# MODE: "open" (no TLS, no login), "plain-login" (login without TLS),
# "tls-login" (STARTTLS required, then login).
import ssl
import sys
import time

from aiosmtpd.controller import Controller
from aiosmtpd.handlers import Mailbox
from aiosmtpd.smtp import AuthResult, LoginPassword

port, maildir, mode = int(sys.argv[1]), sys.argv[2], sys.argv[3]


def authenticate(server, session, envelope, mechanism, data):
    with open(maildir + ".logins", "a") as log:
        log.write("%s %s tls=%s\n" % (data.login.decode(), data.password.decode(), session.ssl is not None))
    ok = isinstance(data, LoginPassword) and data.login == b"user" and data.password == b"s3cret"
    return AuthResult(success=ok, handled=False)


options = dict(hostname="127.0.0.1", port=port)
if mode != "open":
    options.update(authenticator=authenticate, auth_required=True, auth_require_tls=mode == "tls-login")
if mode == "tls-login":
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(sys.argv[4], sys.argv[5])
    options.update(tls_context=context, require_starttls=True)
Controller(Mailbox(maildir), **options).start()
while True:
    time.sleep(3600)
