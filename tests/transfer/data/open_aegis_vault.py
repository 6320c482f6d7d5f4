#!/usr/bin/python3
# Opens an encrypted Aegis vault the way Aegis's documentation describes the format
# (docs/vault.md in beemdevelopment/Aegis): scrypt on the password slot, AES-256-GCM for the
# master key and the database. Written here with python3-cryptography, independently of
# Corvane's code. Prints one line per entry, without its secret:
#   type<TAB>issuer<TAB>name<TAB>algo<TAB>digits<TAB>counter or period<TAB>code
# where the code is an HOTP entry's code of its counter (RFC 4226, Python's hmac), else "-".
# Usage: open_aegis_vault.py VAULT PASSWORD
import base64
import hashlib
import hmac
import json
import struct
import sys

from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.scrypt import Scrypt


def hotp(secret, counter, digits, algo):
    key = base64.b32decode(secret + "=" * (-len(secret) % 8))
    mac = hmac.new(key, struct.pack(">Q", counter), getattr(hashlib, algo.lower())).digest()
    offset = mac[-1] & 0x0F
    value = struct.unpack(">I", mac[offset:offset + 4])[0] & 0x7FFFFFFF
    return str(value % 10 ** digits).zfill(digits)


def main():
    with open(sys.argv[1], "rb") as f:
        vault = json.load(f)
    password = sys.argv[2].encode()
    header = vault["header"]
    master = None
    for slot in header["slots"]:
        if slot["type"] != 1:
            continue
        kdf = Scrypt(salt=bytes.fromhex(slot["salt"]), length=32, n=slot["n"], r=slot["r"], p=slot["p"])
        key = kdf.derive(password)
        params = slot["key_params"]
        master = AESGCM(key).decrypt(bytes.fromhex(params["nonce"]),
                                     bytes.fromhex(slot["key"]) + bytes.fromhex(params["tag"]), None)
        break
    if master is None:
        sys.exit("no password slot")
    params = header["params"]
    db = AESGCM(master).decrypt(bytes.fromhex(params["nonce"]),
                                base64.b64decode(vault["db"]) + bytes.fromhex(params["tag"]), None)
    for entry in json.loads(db)["entries"]:
        info = entry["info"]
        counting = entry["type"] == "hotp"
        step = info["counter"] if counting else info["period"]
        code = hotp(info["secret"], step, info["digits"], info["algo"]) if counting else "-"
        print("\t".join([entry["type"], entry["issuer"], entry["name"], info["algo"], str(info["digits"]), str(step),
                         code]))


main()
