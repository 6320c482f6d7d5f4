#!/usr/bin/python3
# Writes an Ente Auth encrypted export (version 1) made with PyNaCl (Debian's python3-nacl,
# over libsodium) as Ente's public migration guide describes it: Argon2id (crypto_pwhash,
# ALG_ARGON2ID13) over the password, then the links sealed as one message of a
# XChaCha20-Poly1305 secret stream. Password: "test". Argon2id's costs are kept small
# (8 MiB, 2 passes) so that the test runs quickly.
#
#   make_ente_sample.py final   > ente_auth_encrypted.json   older writers: one FINAL message
#   make_ente_sample.py message > ente_auth_encrypted_message.json
#       the current writer: one message tagged MESSAGE, no FINAL chunk; its links add an
#       account entered by hand (literal spaces, as older Ente versions wrote them) and one
#       moved to Ente's trash (codeDisplay's "trashed").
import base64, json, sys
from nacl import bindings as b, pwhash, utils

current = sys.argv[1:] == ["message"]
links = [
    "otpauth://totp/Deno:Mason?secret=4SJHB4GSD43FZBAI7C2HLRJGPQ&issuer=Deno&algorithm=SHA1&digits=6&period=30",
    "otpauth://totp/SPDX:James?secret=5OM4WOOGPLQEF6UGN3CPEOOLWU&issuer=SPDX&algorithm=SHA256&digits=7&period=20",
    "otpauth://hotp/Issuu:Benjamin?secret=YOOMIXWS5GN6RTBPUFFWKTW5M4&issuer=Issuu&algorithm=SHA1&digits=6&counter=1",
]
if current:
    display = "&codeDisplay=%7B%22pinned%22%3Afalse%2C%22trashed%22%3A{}%2C%22lastUsedAt%22%3A0%2C%22tapCount%22%3A0%2C%22tags%22%3A%5B%5D%7D"
    links = [link + display.format("false") for link in links] + [
        "otpauth://totp/Kestrel Bank:ana@example.org?secret=JBSWY3DPEHPK3PXP&issuer=Kestrel Bank",
        "otpauth://totp/Airbnb:Elijah?secret=7ELGJSGXNCCTV3O6LKJWYFV2RA&issuer=Airbnb&algorithm=SHA512&digits=8&period=50"
        + display.format("true"),
    ]
tag = b.crypto_secretstream_xchacha20poly1305_TAG_MESSAGE if current else b.crypto_secretstream_xchacha20poly1305_TAG_FINAL
mem_limit, ops_limit = 8 * 1024 * 1024, 2
salt = utils.random(pwhash.argon2id.SALTBYTES)
key = pwhash.argon2id.kdf(32, b"test", salt, opslimit=ops_limit, memlimit=mem_limit)
state = b.crypto_secretstream_xchacha20poly1305_state()
header = b.crypto_secretstream_xchacha20poly1305_init_push(state, key)
data = b.crypto_secretstream_xchacha20poly1305_push(state, "\n".join(links).encode(), tag=tag)
json.dump({"version": 1,
           "kdfParams": {"memLimit": mem_limit, "opsLimit": ops_limit, "salt": base64.b64encode(salt).decode()},
           "encryptedData": base64.b64encode(data).decode(),
           "encryptionNonce": base64.b64encode(header).decode()}, sys.stdout)
