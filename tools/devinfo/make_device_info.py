#!/usr/bin/env python3
"""Writes the device resource file 8bit_device.info that kcc8 reads.

The file is addressed by byte offsets (each index entry names where its device's record
starts), so it is generated rather than edited by hand. Run it after changing the devices below:

    tools/devinfo/make_device_info.py              # rewrites data/8bit_device.info
    tools/devinfo/make_device_info.py OUT          # writes OUT instead
    tools/devinfo/make_device_info.py --check FILE # exit 1 unless FILE is what we would write

Every record is one line of bracketed fields, <TYPE><field 1><field 2>..., ended by CR LF.
Numbers are hexadecimal. A register's set-bits mask is the union of its switches' masks and its
default value is made of each switch's default choice, so the two can never disagree.
"""

import sys
from pathlib import Path

LINE_END = b"\r\n"
EXTENDED_MODE = 0x4  # flag bit: the device has the extended instruction mode


def on_off(mask, on_first=False):
    """The common two-way switch: OFF clears the bits, ON sets them (or the reverse)."""
    if on_first:
        return [("ON", "Enabled", 0), ("OFF", "Disabled", mask)]
    return [("OFF", "Disabled", 0), ("ON", "Enabled", mask)]


def switch(name, description, mask, values, default):
    assert any(v[0] == default for v in values), f"{name}: default {default} is no value"
    for value_name, _, value in values:
        assert value & ~mask == 0, f"{name}={value_name}: value outside the mask"
    return {"name": name, "desc": description, "mask": mask, "values": values, "default": default}


def register(address, switches):
    masks = 0
    default = 0
    for sw in switches:
        assert masks & sw["mask"] == 0, f"register {address:X}: overlapping switch masks"
        masks |= sw["mask"]
        default |= next(v[2] for v in sw["values"] if v[0] == sw["default"])
    return {"address": address, "setbits": masks, "default": default, "switches": switches}


def wdt_postscaler(count):
    return [(str(1 << i), f"1:{1 << i}", i << 1) for i in range(count)]


def code_protect(blocks):
    return [switch(f"CP{i}", f"Code protection of block {i}", 1 << i, on_off(1 << i, on_first=True), "OFF")
            for i in range(blocks)]


def pic18_common(oscillators):
    """Registers shared by the 18F2x20 parts."""
    return [
        register(0x300001, [
            switch("OSC", "Oscillator selection", 0x0F, oscillators, "HS"),
            switch("FCMEN", "Fail-safe clock monitor", 0x40, on_off(0x40), "OFF"),
            switch("IESO", "Internal/external oscillator switch-over", 0x80, on_off(0x80), "OFF"),
        ]),
        register(0x300002, [
            switch("PWRT", "Power-up timer", 0x01, on_off(0x01, on_first=True), "ON"),
            switch("BOREN", "Brown-out reset", 0x06, [
                ("OFF", "Disabled in hardware and software", 0x00),
                ("ON", "Controlled by software", 0x02),
                ("NOSLP", "Enabled in hardware, off in sleep", 0x04),
                ("SBORDIS", "Enabled in hardware only", 0x06),
            ], "SBORDIS"),
            switch("BORV", "Brown-out voltage", 0x18, [
                ("0", "Highest trip point", 0x00),
                ("1", "High trip point", 0x08),
                ("2", "Low trip point", 0x10),
                ("3", "Lowest trip point", 0x18),
            ], "2"),
        ]),
        register(0x300003, [
            switch("WDT", "Watchdog timer", 0x01, on_off(0x01), "OFF"),
            switch("WDTPS", "Watchdog postscaler", 0x1E, wdt_postscaler(16), "32768"),
        ]),
        register(0x300005, [
            switch("CCP2MX", "CCP2 pin", 0x01, [
                ("PORTBE", "CCP2 on RB3", 0x00),
                ("PORTC", "CCP2 on RC1", 0x01),
            ], "PORTC"),
            switch("PBADEN", "PORTB analog inputs at reset", 0x02, on_off(0x02), "OFF"),
            switch("LPT1OSC", "Low-power Timer1 oscillator", 0x04, on_off(0x04), "OFF"),
            switch("MCLRE", "MCLR pin", 0x80, on_off(0x80), "ON"),
        ]),
        register(0x300006, [
            switch("STVREN", "Reset on stack overflow", 0x01, on_off(0x01), "ON"),
            switch("LVP", "Low-voltage programming", 0x04, on_off(0x04), "OFF"),
            switch("XINST", "Extended instruction set", 0x40, on_off(0x40), "OFF"),
            switch("DEBUG", "Background debugger", 0x80, on_off(0x80, on_first=True), "OFF"),
        ]),
        register(0x300008, code_protect(4)),
        register(0x300009, [
            switch("CPB", "Boot block code protection", 0x40, on_off(0x40, on_first=True), "OFF"),
            switch("CPD", "Data EEPROM code protection", 0x80, on_off(0x80, on_first=True), "OFF"),
        ]),
    ]


PIC18_OSCILLATORS = [
    ("LP", "Low-power crystal", 0x0),
    ("XT", "Crystal or resonator", 0x1),
    ("HS", "High-speed crystal or resonator", 0x2),
    ("RC", "External RC, CLKO on RA6", 0x3),
    ("EC", "External clock, CLKO on RA6", 0x4),
    ("ECIO6", "External clock, RA6 as port pin", 0x5),
    ("HSPLL", "High-speed crystal with 4x PLL", 0x6),
    ("RCIO6", "External RC, RA6 as port pin", 0x7),
    ("INTIO67", "Internal oscillator, RA6 and RA7 as port pins", 0x8),
    ("INTIO7", "Internal oscillator, CLKO on RA6", 0x9),
]

PIC18_OLD_OSCILLATORS = [
    ("LP", "Low-power crystal", 0x0),
    ("XT", "Crystal or resonator", 0x1),
    ("HS", "High-speed crystal or resonator", 0x2),
    ("RC", "External RC", 0x3),
    ("EC", "External clock", 0x4),
    ("HSPLL", "High-speed crystal with 4x PLL", 0x6),
]

DEVICES = [
    {
        "name": "18F2520", "id": 0x2520, "family": "18xxxx", "flags": EXTENDED_MODE,
        "pages": 1, "rom": 0x7FFF, "banks": 6, "ram": 0x5FF, "eeprom": 0xFF, "acs": 0x80, "further": 0,
        "registers": pic18_common(PIC18_OSCILLATORS),
    },
    {
        "name": "18F2620", "id": 0x2620, "family": "18xxxx", "flags": EXTENDED_MODE,
        "pages": 1, "rom": 0xFFFF, "banks": 16, "ram": 0xF7F, "eeprom": 0x3FF, "acs": 0x80, "further": 0,
        "registers": pic18_common(PIC18_OSCILLATORS),
    },
    {
        # An older part without the extended instruction mode.
        "name": "18F452", "id": 0x0452, "family": "18xxxx", "flags": 0,
        "pages": 1, "rom": 0x7FFF, "banks": 6, "ram": 0x5FF, "eeprom": 0xFF, "acs": 0x80, "further": 0,
        "registers": [
            register(0x300001, [
                switch("OSC", "Oscillator selection", 0x07, PIC18_OLD_OSCILLATORS, "HS"),
                switch("OSCS", "Oscillator system clock switch", 0x20, on_off(0x20, on_first=True), "OFF"),
            ]),
            register(0x300002, [
                switch("PWRT", "Power-up timer", 0x01, on_off(0x01, on_first=True), "ON"),
                switch("BOR", "Brown-out reset", 0x02, on_off(0x02), "ON"),
                switch("BORV", "Brown-out voltage", 0x0C, [
                    ("45", "4.5 V", 0x00), ("42", "4.2 V", 0x04), ("27", "2.7 V", 0x08), ("20", "2.0 V", 0x0C),
                ], "42"),
            ]),
            register(0x300003, [
                switch("WDT", "Watchdog timer", 0x01, on_off(0x01), "OFF"),
                switch("WDTPS", "Watchdog postscaler", 0x0E, wdt_postscaler(8), "128"),
            ]),
            register(0x300006, [
                switch("STVR", "Reset on stack overflow", 0x01, on_off(0x01), "ON"),
                switch("LVP", "Low-voltage programming", 0x04, on_off(0x04), "OFF"),
                switch("DEBUG", "Background debugger", 0x80, on_off(0x80, on_first=True), "OFF"),
            ]),
        ],
    },
    {
        # Another family: known to the file, refused by the driver.
        "name": "16F877A", "id": 0x877A, "family": "16xxxx", "flags": 0,
        "pages": 4, "rom": 0x1FFF, "banks": 4, "ram": 0x1FF, "eeprom": 0xFF, "acs": 0, "further": 0,
        "registers": [
            register(0x2007, [
                switch("FOSC", "Oscillator selection", 0x0003, [
                    ("LP", "Low-power crystal", 0x0), ("XT", "Crystal or resonator", 0x1),
                    ("HS", "High-speed crystal", 0x2), ("RC", "External RC", 0x3),
                ], "HS"),
                switch("WDTE", "Watchdog timer", 0x0004, on_off(0x0004), "OFF"),
                switch("PWRTE", "Power-up timer", 0x0008, on_off(0x0008, on_first=True), "ON"),
                switch("BOREN", "Brown-out reset", 0x0040, on_off(0x0040), "ON"),
                switch("LVP", "Low-voltage programming", 0x0080, on_off(0x0080), "OFF"),
                switch("CPD", "Data EEPROM code protection", 0x0100, on_off(0x0100, on_first=True), "OFF"),
                switch("WRT", "Flash self-write protection", 0x0600, [
                    ("HALF", "Lower half protected", 0x0000), ("1FOURTH", "Lower quarter protected", 0x0200),
                    ("256", "First 256 words protected", 0x0400), ("OFF", "Writes allowed everywhere", 0x0600),
                ], "OFF"),
                switch("CP", "Code protection", 0x2000, on_off(0x2000, on_first=True), "OFF"),
            ]),
        ],
    },
]


def record(kind, *fields):
    text = "<" + kind + ">" + "".join("<" + f + ">" for f in fields)
    return text.encode("ascii") + LINE_END


def hex_text(value):
    return f"{value:X}"


def device_lines(device):
    lines = [record("PART_INFO_TYPE", hex_text(device["id"]), device["name"], device["family"],
                    hex_text(device["flags"]), hex_text(device["pages"]), hex_text(device["rom"]),
                    hex_text(device["banks"]), hex_text(device["ram"]), hex_text(device["eeprom"]),
                    hex_text(device["acs"]), hex_text(device["further"]),
                    hex_text(len(device["registers"])))]
    for reg in device["registers"]:
        lines.append(record("CONFIGREG_INFO_TYPE", hex_text(reg["address"]), hex_text(reg["setbits"]),
                            hex_text(reg["default"]), hex_text(len(reg["switches"]))))
        for sw in reg["switches"]:
            lines.append(record("SWITCH_INFO_TYPE", sw["name"], sw["desc"], hex_text(sw["mask"]),
                                hex_text(len(sw["values"]))))
            for value_name, description, value in sw["values"]:
                lines.append(record("SETTING_VALUE_TYPE", value_name, description, hex_text(value)))
    return b"".join(lines)


def build():
    assert len({d["name"] for d in DEVICES}) == len(DEVICES), "device names must be unique"
    header = record("RES_FILE_VERSION_INFO_TYPE", "1.00", "Kavel 8-bit device resources")
    # Offsets are written with eight digits so the index has the same length whatever they are.
    index_length = sum(len(record("PARTS_INDEX_TYPE", d["name"], "0" * 8)) for d in DEVICES)
    offset = len(header) + index_length
    index = []
    bodies = []
    for device in DEVICES:
        assert device["name"] == device["name"].upper(), "index names are upper case"
        body = device_lines(device)
        index.append(record("PARTS_INDEX_TYPE", device["name"], f"{offset:08X}"))
        bodies.append(body)
        offset += len(body)
    return header + b"".join(index) + b"".join(bodies)


def main(argv):
    default_output = Path(__file__).resolve().parents[2] / "data" / "8bit_device.info"
    content = build()
    if len(argv) == 3 and argv[1] == "--check":
        if Path(argv[2]).read_bytes() != content:
            print(f"{argv[2]} differs from what {Path(__file__).name} writes; run it again", file=sys.stderr)
            return 1
        return 0
    if len(argv) > 2:
        print(__doc__, file=sys.stderr)
        return 2
    output = Path(argv[1]) if len(argv) == 2 else default_output
    output.write_bytes(content)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
