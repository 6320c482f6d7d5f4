#!/usr/bin/python3
# Writes ente_auth_encrypted.json: an Ente Auth encrypted export (version 1) made with PyNaCl
# (Debian's python3-nacl, over libsodium) as Ente's public migration guide describes it:
# Argon2id (crypto_pwhash, ALG_ARGON2ID13) over the password, then the links sealed as one
# final message of a XChaCha20-Poly1305 secret stream. Password: "test". Argon2id's costs
# are kept small (8 MiB, 2 passes) so that the test runs quickly.
import base64, json, sys
from nacl import bindings as b, pwhash, utils

links = "\n".join([
    "otpauth://totp/Deno:Mason?secret=4SJHB4GSD43FZBAI7C2HLRJGPQ&issuer=Deno&algorithm=SHA1&digits=6&period=30",
    "otpauth://totp/SPDX:James?secret=5OM4WOOGPLQEF6UGN3CPEOOLWU&issuer=SPDX&algorithm=SHA256&digits=7&period=20",
    "otpauth://hotp/Issuu:Benjamin?secret=YOOMIXWS5GN6RTBPUFFWKTW5M4&issuer=Issuu&algorithm=SHA1&digits=6&counter=1",
]).encode()
mem_limit, ops_limit = 8 * 1024 * 1024, 2
salt = utils.random(pwhash.argon2id.SALTBYTES)
key = pwhash.argon2id.kdf(32, b"test", salt, opslimit=ops_limit, memlimit=mem_limit)
state = b.crypto_secretstream_xchacha20poly1305_state()
header = b.crypto_secretstream_xchacha20poly1305_init_push(state, key)
data = b.crypto_secretstream_xchacha20poly1305_push(state, links, tag=b.crypto_secretstream_xchacha20poly1305_TAG_FINAL)
json.dump({"version": 1,
           "kdfParams": {"memLimit": mem_limit, "opsLimit": ops_limit, "salt": base64.b64encode(salt).decode()},
           "encryptedData": base64.b64encode(data).decode(),
           "encryptionNonce": base64.b64encode(header).decode()}, sys.stdout)
