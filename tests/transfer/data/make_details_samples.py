#!/usr/bin/env python3
"""Writes the samples of accounts with icons, groups, notes and favourites, as each peer's
format holds them, over the accounts of Aegis's public test vault (aegis_plain.json):

- aegis_plain_details.json: an Aegis vault, database version 3 (Aegis 3.x's VaultEntry,
  VaultGroup and VaultEntryIcon): two groups by uuid, icons in Base64 with "icon_mime" and
  "icon_hash" (SHA-256 over the MIME type and the bytes), notes and a favourite;
- 2fas_groups.2fas: a 2FAS backup, schema 4, with its "groups" ({id, name, isExpanded}) and
  each service's "groupId" (2FAS's BackupContent and BackupService);
- ente_auth_details.txt: Ente Auth's plain export, otpauth links whose "codeDisplay" carries
  tags, a note and "pinned" (Ente's CodeDisplay);
- icon_pack/: an Aegis icon pack folder, pack.json and its icons (Aegis's IconPack), and
  icon_pack.zip, the same pack zipped. One icon is a malformed SVG, one is larger than
  256 KiB: neither may become an icon.

Run: /usr/bin/python3 make_details_samples.py (needs ImageMagick's `convert` for the JPEG)."""

import base64
import hashlib
import json
import os
import struct
import subprocess
import urllib.parse
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def png(rgb):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(rgb) * 16 for _ in range(16))
    header = struct.pack(">IIBBBBB", 16, 16, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")


def jpeg():
    return subprocess.run(["convert", "-size", "16x16", "xc:#3366cc", "jpeg:-"], check=True, capture_output=True).stdout


def svg(colour):
    return ('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 16 16" width="16" height="16">'
            f'<circle cx="8" cy="8" r="7" fill="{colour}"/></svg>').encode()


GROUPS = [{"uuid": "2d5b7a8e-3f0c-4c39-9a55-1f1d0c6e8b01", "name": "工作"},
          {"uuid": "9f2e6c14-7b3a-4d8e-b1c0-5a4e3d2c1b02", "name": "Personal"}]
# issuer: (icon bytes, MIME, groups, note, favourite)
DETAILS = {
    "Deno": (svg("#2a7ae2"), "image/svg+xml", [0], "deploy key", True),
    "SPDX": (png((200, 30, 30)), "image/png", [0, 1], "", False),
    "Airbnb": (jpeg(), "image/jpeg", [1], "旅行 account\nsecond line", False),
    "Issuu": (None, None, [], "counter-based", False),
}


def aegis_vault():
    with open(os.path.join(HERE, "aegis_plain.json"), encoding="utf-8") as file:
        vault = json.load(file)
    entries = vault["db"]["entries"]
    for entry in entries:
        icon, mime, groups, note, favourite = DETAILS.get(entry["issuer"], (None, None, [], "", False))
        entry["icon"] = base64.b64encode(icon).decode() if icon else None
        entry["icon_mime"] = mime
        if icon:
            entry["icon_hash"] = hashlib.sha256(mime.encode() + icon).hexdigest()
        entry["groups"] = [GROUPS[i]["uuid"] for i in groups]
        entry["note"] = note
        entry["favorite"] = favourite
    vault["db"] = {"version": 3, "entries": entries, "groups": GROUPS, "icons_optimized": True}
    return vault


def twofas_backup():
    with open(os.path.join(HERE, "2fas_authenticator_plain_v4.2fas"), encoding="utf-8") as file:
        backup = json.load(file)
    backup["groups"] = [{"id": g["uuid"], "name": g["name"], "isExpanded": True, "updatedAt": 0} for g in GROUPS]
    for service in backup["services"]:
        groups = DETAILS.get(service["otp"].get("issuer", service["name"]), (None, None, [], "", False))[2]
        if groups:
            service["groupId"] = GROUPS[groups[0]]["uuid"]
    return backup


def ente_links():
    lines = []
    with open(os.path.join(HERE, "ente_auth.txt"), encoding="utf-8") as file:
        for line in file.read().splitlines():
            link = line.split("&codeDisplay=")[0]
            issuer = urllib.parse.parse_qs(urllib.parse.urlsplit(link).query)["issuer"][0]
            _, _, groups, note, favourite = DETAILS.get(issuer, (None, None, [], "", False))
            display = {"pinned": favourite, "trashed": False, "lastUsedAt": 0, "tapCount": 0,
                       "tags": [GROUPS[i]["name"] for i in groups], "note": note}
            lines.append(link + "&codeDisplay=" + urllib.parse.quote(json.dumps(display, separators=(",", ":"))))
    return "\n".join(lines) + "\n"


def icon_pack():
    folder = os.path.join(HERE, "icon_pack")
    os.makedirs(folder, exist_ok=True)
    icons = [
        ("Boeing.svg", "Travel", ["Boeing", "Boeing Company"], svg("#0d47a1")),
        ("WWE.png", "Media", ["World Wrestling", "WWE"], png((20, 20, 20))),
        ("Deno.svg", "Development", ["Deno"], svg("#000000")),
        ("Broken.svg", "Other", ["Air Canada"], b'<svg xmlns="http://www.w3.org/2000/svg" width="16"><circle'),
        ("Huge.png", "Other", ["Issuu"], png((1, 2, 3)) + b"\0" * (256 * 1024)),
        ("Unused.svg", "Other", ["Nobody Here"], svg("#00ff00")),
    ]
    pack = {"uuid": "5a9b5f6e-1c2d-4e3f-8a7b-6c5d4e3f2a1b", "name": "Sample pack", "version": 1,
            "icons": [{"filename": "icons/" + name, "category": category, "issuer": issuers}
                      for name, category, issuers, _ in icons]}
    os.makedirs(os.path.join(folder, "icons"), exist_ok=True)
    for name, _, _, data in icons:
        with open(os.path.join(folder, "icons", name), "wb") as file:
            file.write(data)
    with open(os.path.join(folder, "pack.json"), "w", encoding="utf-8") as file:
        json.dump(pack, file, indent=2)
    with zipfile.ZipFile(os.path.join(HERE, "icon_pack.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
        archive.write(os.path.join(folder, "pack.json"), "pack.json")
        for name, _, _, _ in icons:
            archive.write(os.path.join(folder, "icons", name), "icons/" + name)


def main():
    with open(os.path.join(HERE, "aegis_plain_details.json"), "w", encoding="utf-8") as file:
        json.dump(aegis_vault(), file, indent=4, ensure_ascii=False)
    with open(os.path.join(HERE, "2fas_groups.2fas"), "w", encoding="utf-8") as file:
        json.dump(twofas_backup(), file, separators=(",", ":"), ensure_ascii=False)
    with open(os.path.join(HERE, "ente_auth_details.txt"), "w", encoding="utf-8") as file:
        file.write(ente_links())
    icon_pack()


if __name__ == "__main__":
    main()
