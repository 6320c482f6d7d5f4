#!/usr/bin/python3
# Writes the exports the import benchmarks open, the encrypted ones as their peer's writer lays
# them out, all with the password "test":
#   make_export.py ente-argon2 PATH     Ente Auth, 5 links under a 1 GiB Argon2id (what real
#                                       2023 exports ask for)
#   make_export.py ente-links PATH      Ente Auth, cheap Argon2id, 11 MB of links: as many as an
#                                       import takes, each with a name 2 KB long
#   make_export.py andotp-refused PATH  andOTP, 15 MB of entries that are all refused
#                                       (invalid secrets, 3 KB names)
#   make_export.py aegis-junk PATH      Aegis, 5 entries and 15 MB of junk in its header
# and hostile Bitwarden CSV files (no password):
#   make_export.py csv-short-rows PATH  a 100,000-column header, then 16 MiB of short rows
#   make_export.py csv-wide-header PATH a header of two million columns
#   make_export.py csv-small-wide PATH  400 KB of the first shape
# Needs Debian's python3-nacl (Ente) and python3-cryptography (andOTP, Aegis).
import base64, hashlib, json, os, sys, uuid

MB, MIB = 1000 * 1000, 1024 * 1024


def links(count, name_size=0):
    name = "Probe:" + "name%20" * (name_size // 7)
    secrets = (base64.b32encode(os.urandom(10)).decode() for _ in range(count))
    return "\n".join(f"otpauth://totp/{name}{i}?secret={s}&issuer=Probe" for i, s in enumerate(secrets))


def ente(mem, ops, text):
    from nacl import bindings as b, pwhash, utils
    salt = utils.random(16)
    key = pwhash.argon2id.kdf(32, b"test", salt, opslimit=ops, memlimit=mem)
    state = b.crypto_secretstream_xchacha20poly1305_state()
    header = b.crypto_secretstream_xchacha20poly1305_init_push(state, key)
    data = b.crypto_secretstream_xchacha20poly1305_push(
        state, text.encode(), tag=b.crypto_secretstream_xchacha20poly1305_TAG_MESSAGE)
    return json.dumps({"version": 1,
                       "kdfParams": {"memLimit": mem, "opsLimit": ops, "salt": base64.b64encode(salt).decode()},
                       "encryptedData": base64.b64encode(data).decode(),
                       "encryptionNonce": base64.b64encode(header).decode()}).encode()


def gcm(key, plaintext):
    from cryptography.hazmat.primitives.ciphers.aead import AESGCM
    nonce = os.urandom(12)
    sealed = AESGCM(key).encrypt(nonce, plaintext, None)
    return nonce, sealed[:-16], sealed[-16:]


def andotp(entries):
    # andOTP's current format: iterations, salt, then AES-GCM's nonce, ciphertext and tag
    # under PBKDF2-HMAC-SHA1 of the password.
    iterations, salt = 1000, os.urandom(12)
    key = hashlib.pbkdf2_hmac("sha1", b"test", salt, iterations, 32)
    nonce, ciphertext, tag = gcm(key, json.dumps(entries).encode())
    return iterations.to_bytes(4, "big") + salt + nonce + ciphertext + tag


def aegis(entries, junk):
    # Aegis's vault: scrypt of the password unwraps the master key, which seals the database.
    master, salt = os.urandom(32), os.urandom(32)
    n, r, p = 1 << 15, 8, 1
    slot_key = hashlib.scrypt(b"test", salt=salt, n=n, r=r, p=p, dklen=32, maxmem=1 << 26)
    key_nonce, wrapped, key_tag = gcm(slot_key, master)
    db_nonce, db, db_tag = gcm(master, json.dumps({"version": 2, "entries": entries}).encode())
    slot = {"type": 1, "uuid": str(uuid.uuid4()), "key": wrapped.hex(), "salt": salt.hex(), "n": n, "r": r, "p": p,
            "key_params": {"nonce": key_nonce.hex(), "tag": key_tag.hex()}}
    header = {"slots": [slot], "params": {"nonce": db_nonce.hex(), "tag": db_tag.hex()}, "junk": junk}
    vault = {"version": 1, "header": header, "db": base64.b64encode(db).decode()}
    return json.dumps(vault, separators=(",", ":")).encode()


def aegis_entry(i):
    return {"type": "totp", "uuid": str(uuid.uuid4()), "name": f"a{i}", "issuer": "Probe",
            "info": {"secret": base64.b32encode(os.urandom(10)).decode(), "algo": "SHA1", "digits": 6, "period": 30}}


def refused_entry(i):
    return {"secret": "!not base32!", "issuer": "Probe", "label": "Kestrel Bank " * 230 + str(i), "digits": 6,
            "type": "TOTP", "algorithm": "SHA1", "thumbnail": "Default", "last_used": 0, "period": 30, "tags": []}


def short_rows():
    header = ",".join(f"c{i}" for i in range(100_000)) + ",login_totp\n"
    return (header + "x,y\n" * ((16 * MIB - len(header)) // 4)).encode()


writers = {
    "csv-short-rows": short_rows,
    "csv-wide-header": lambda: ("c," * 2_000_000 + "login_totp\nx\n").encode(),
    "csv-small-wide": lambda: ("c," * 100_000 + "login_totp\n" + "x,y\n" * 50_000).encode(),
    "ente-argon2": lambda: ente(1 << 30, 4, links(5)),
    "ente-links": lambda: ente(8 << 20, 2, links(5000, 2150)),
    "andotp-refused": lambda: andotp([refused_entry(i) for i in range(5000)]),
    "aegis-junk": lambda: aegis([aegis_entry(i) for i in range(5)], [1] * (15 * MB // 2)),
}
kind, path = sys.argv[1:]
with open(path, "wb") as file:
    file.write(writers[kind]())
