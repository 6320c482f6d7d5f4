#!/usr/bin/env python3
"""Opens Aegis vaults the way Aegis documents it (docs/vault.md in beemdevelopment/Aegis):
scrypt(password, salt, N, r, p) gives a password slot's key, which unwraps the master key
with AES-256-GCM; the master key opens the database with AES-256-GCM. Written apart from the
app's own code, with python3's `cryptography`, as an outside check of its vaults.

Usage: aegis_vault_oracle.py [--details] VAULT... < password
Prints one JSON line per vault: its entries as [type, name, issuer, secret, algo, digits,
period], an HOTP entry's counter in place of the period. With --details each entry also has
an object: its uuid, its icon's SHA-256 (of the bytes, and "icon_hash" as Aegis computes it,
over the MIME type and the bytes) and MIME type, its groups as [uuid, name] from the
database's group list, its note and favourite flag. Exits 1 when a vault does not open, or an
icon's stored hash is not Aegis's."""

import base64
import hashlib
import json
import sys

from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.scrypt import Scrypt


def open_sealed(key, ciphertext, params):
    nonce = bytes.fromhex(params["nonce"])
    tag = bytes.fromhex(params["tag"])
    return AESGCM(key).decrypt(nonce, ciphertext + tag, None)


def master_key(header, password, derived):
    for slot in header["slots"]:
        if slot["type"] != 1:
            continue
        params = (slot["salt"], slot["n"], slot["r"], slot["p"])
        if params not in derived:
            kdf = Scrypt(salt=bytes.fromhex(slot["salt"]), length=32, n=slot["n"], r=slot["r"], p=slot["p"])
            derived[params] = kdf.derive(password)
        try:
            return open_sealed(derived[params], bytes.fromhex(slot["key"]), slot["key_params"])
        except Exception:
            continue
    raise ValueError("no password slot opens")


def entries(path, password, derived, details=False):
    with open(path, encoding="utf-8") as file:
        vault = json.load(file)
    header = vault["header"]
    key = master_key(header, password, derived)
    database = json.loads(open_sealed(key, base64.b64decode(vault["db"]), header["params"]))
    rows = [row(e["type"], e["name"], e["issuer"], e["info"]) for e in database["entries"]]
    if details:
        names = {group["uuid"]: group["name"] for group in database.get("groups", [])}
        for entry_row, entry in zip(rows, database["entries"]):
            entry_row.append(entry_details(entry, names))
    return rows


def entry_details(entry, names):
    icon = None
    if entry.get("icon") is not None:
        data = base64.b64decode(entry["icon"])
        mime = entry.get("icon_mime") or "image/jpeg"
        aegis_hash = hashlib.sha256(mime.encode("utf-8") + data).hexdigest()
        if entry.get("icon_hash", aegis_hash) != aegis_hash:
            raise ValueError("icon_hash is not Aegis's")
        icon = {"sha256": hashlib.sha256(data).hexdigest(), "icon_hash": aegis_hash, "mime": mime}
    return {
        "uuid": entry["uuid"],
        "icon": icon,
        "groups": [[uuid, names[uuid]] for uuid in entry.get("groups", [])],
        "note": entry.get("note", ""),
        "favorite": entry.get("favorite", False),
    }


def row(kind, name, issuer, info):
    step = info["counter"] if kind == "hotp" else info["period"]
    return [kind, name, issuer, info["secret"], info["algo"], info["digits"], step]


def main():
    password = sys.stdin.readline().rstrip("\n").encode("utf-8")
    derived = {}
    details = sys.argv[1:2] == ["--details"]
    for path in sys.argv[2 if details else 1:]:
        try:
            print(json.dumps(entries(path, password, derived, details), ensure_ascii=False))
        except Exception as error:
            print(f"{path}: {type(error).__name__}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
