#!/usr/bin/python3
# Writes freeotp_plus_steam.json: a FreeOTP+ JSON export holding a Steam account, as
# FreeOTP+'s exporter writes it (Gson over its Token objects: "tokenOrder" plus "tokens",
# the secret as signed bytes). FreeOTP+ keeps a Steam account as a TOTP token whose
# issuerExt is "Steam", with 5 digits, and shows Steam codes for it.
import base64, json, sys

secret = base64.b32decode("JRZCL47CMXVOQMNPZR2F7J4RGI" + "======")
token = {"algo": "SHA1", "counter": 0, "digits": 5, "issuerExt": "Steam", "issuerInt": "Steam",
         "label": "Sophia", "period": 30, "secret": [x - 256 if x > 127 else x for x in secret], "type": "TOTP"}
json.dump({"tokenOrder": ["Steam:Sophia"], "tokens": [token]}, sys.stdout, separators=(",", ":"))
