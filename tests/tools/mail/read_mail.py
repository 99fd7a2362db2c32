# Prints the one message of a Maildir as the tests compare it, and saves its
# attachments into OUT:
#   read_mail.py MAILDIR OUT
import email
import email.policy
import mailbox
import os
import sys

messages = list(mailbox.Maildir(sys.argv[1], factory=None))
print("messages:", len(messages))
message = email.message_from_bytes(messages[0].as_bytes(), policy=email.policy.default)
for header in ("From", "To", "Subject"):
    print("%s: %s" % (header, message[header]))
print("Body:", repr(message.get_body(("plain",)).get_content()))
for part in message.iter_attachments():
    print("Attachment:", part.get_filename(), part.get_content_type())
    with open(os.path.join(sys.argv[2], part.get_filename()), "wb") as out:
        out.write(part.get_payload(decode=True))
