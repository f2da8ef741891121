#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into tests/fuzz/corpus/<target>/.

A few small inputs per target, one for each kind of input it should start from. Inputs that
once broke a target are added to its folder by hand and are not written here. Run this again
after changing how a target takes its input apart.
"""

from pathlib import Path

CORPUS = Path(__file__).resolve().parent / "corpus"
ESC = b"\x1b"
GS = b"\x1d"
CRLF = b"\r\n"


class FuzzedData:
    """An input as LLVM's FuzzedDataProvider takes it apart: strings from the front, each ended
    by a backslash and another character; numbers from the back, the most significant byte
    last in the file."""

    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()

    def integer(self, value, low, high):
        span, offset = high - low, value - low
        size = 0
        while span >> (8 * size):
            size += 1
        self.back += offset.to_bytes(size, "big")

    def boolean(self, value):
        self.integer(int(value), 0, 255)

    def signed(self, value, bits):
        self.integer(value + 2 ** (bits - 1), 0, 2**bits - 1)

    def string(self, raw):
        self.front += raw.replace(b"\\", b"\\\\") + b"\\;"

    def bytes(self):
        return bytes(self.front) + bytes(reversed(self.back))


# The order of domainWords in fuzz_ticket_layouts.cpp.
WORDS = ["", "주문서", "주방메세지", "티켓", "돈통열기", "미결", "배달", "└", "REXOD", "세로확대",
         "가로확대", "가로세로확대"]


def null(data):
    data.integer(0, 0, 3)


def integer(data, value):
    data.integer(1, 0, 3)
    data.signed(value, 64)


def huge(data, negative):
    """The lowest or the highest double: the provider adds half the range for a true first."""
    data.integer(2, 0, 3)
    data.boolean(not negative)
    data.integer(0 if negative else 2**64 - 1, 0, 2**64 - 1)


def text(data, raw=b"", word=""):
    """A word of the layouts, then characters of one byte each: ASCII and control characters,
    0x80-0xBF unpaired surrogate halves, 0xC0-0xFF Hangul syllables."""
    data.integer(3, 0, 3)
    data.integer(WORDS.index(word), 0, len(WORDS) - 1)
    data.string(raw)


def ticket_job(columns, settings, extras):
    """columns: ten writers in the order of FuzzedJob; settings: printer kind, kitchen size,
    five switches, pause, left margin; extras: bottom margin lines, guests, epoch milliseconds."""
    data = FuzzedData()
    for column in columns:
        column(data)
    printer_kind, kitchen_size, switches, pause_ms, margin = settings
    printer_kind(data)
    kitchen_size(data)
    for switch in switches:
        data.boolean(switch)
    data.signed(pause_ms, 32)
    margin(data)
    margin_lines, guests, printed_at = extras
    data.integer(margin_lines, 0, 8)
    data.signed(guests, 16)
    data.signed(printed_at, 64)
    return data.bytes()


def w(raw=b"", word=""):
    return lambda data: text(data, raw, word)


def n(value):
    return lambda data: integer(data, value)


def h(negative=False):
    return lambda data: huge(data, negative)


PRINTED_AT = 1_797_000_000_000  # 2026-12-11 14:40 UTC
# Control characters sit in the short fields 주문자명, 코너명, 테이블명, 진동벨번호 and 신규추가여부
# (the last five columns), where the layouts must print them as blanks.
TICKET_LAYOUTS = {
    "food-court-order-unpaid": ticket_job(
        [w(word="주문서"), n(57), w(word="미결"), n(12500), w(b"kimbap 2\r\nramen 1\r\ntotal 3"),
         w(b"Kim\x1bp0\x19\xfa"), w(b"  snack \x1b@"), w(b"12"), w(b"15\x07"), w(b"\x1dV")],
        (w(word="REXOD"), w(word="가로세로확대"), (1, 1, 0, 1, 1), 10, n(2)),
        (2, 3, PRINTED_AT)),
    "delivery-kitchen-message-post-paid": ticket_job(
        [w(word="주방메세지"), n(0), w(word="미결"), w(b" 1500.5 "), w(b" ice\r\n* cola\r\n", "└"),
         w(b"\x1bi\x1bm"), w(b"call\r\nfirst\x7f"), w(b"1\x1ba1", "배달"), null,
         w(b"\x00\x0c")],
        (null, w(word="세로확대"), (0, 1, 1, 0, 1), 0, n(48)),
        (0, 4, PRINTED_AT)),
    "ticket-with-huge-numbers-and-surrogates": ticket_job(
        [w(word="티켓"), h(), w(b"\x80\xa0"), h(negative=True),
         w(b"\xc0\xff\r\n\x80\r\n"), w(b"\x9f\xbf\x1b"), w(b"\xa0\x80"), h(negative=True),
         n(-1), w(b"\x80")],
        (w(b"\x1bp"), w(word="가로확대"), (1, 0, 1, 1, 0), -1, n(-5)),
        (8, -32768, -(2**62))),
    "plain-job-of-numbers": ticket_job(
        [null, n(2**63 - 1), n(1), n(-(2**63)), n(7), n(1), n(2), n(3), n(4), n(5)],
        (n(0), n(0), (0, 0, 0, 0, 0), 2**31 - 1, n(-3)),
        (1, 0, 0)),
    "unpaid-amount-not-a-number": ticket_job(
        [w(word="주문서"), n(1), w(word="미결"), w(b"abc"), w(b"x\r\n"), w(b"\x1b"), w(), w(),
         w(), w()],
        (n(0), n(0), (0, 0, 0, 0, 0), 10, n(0)),
        (0, 0, PRINTED_AT)),
}

CONFIG_FILE = {
    "crlf-lines": "[POS]\r\n매장코드 =  강남 1호점 \r\nPOSID=01\r\nSERVER=a=b\r\nDB=MS-SQL   \r\n"
                  "extra=ignored\r\n".encode("cp949"),
    "lf-lines-without-keys": b"x\n  S001  \nP1\n127.0.0.1\nms-sql",
    "four-lines": b"a\r\nb=S1\r\nc=P1\r\nd=srv\r\n",
    "mixed-line-ends": b"a\rb=S1\n\rc=P1\r\r\nd=\xb0\xa1\r\ne=MS-SQL\r",
}

OPTIONS_LIST = [b"1=True", b"2=x", b"3=", b"4=a=b", b"5=0", b"6=", b"7=", b"8=", b"9=", b"10=",
                b"11=", b"12=32767", b"13=False", b"14=-2147483648", b"15=", b"16= 2.5 ",
                b"17=1e3", b"18=12", b"19=", b"20=-7", b"21=yes", b"22=2147483647.4"]
OTHER_OPTIONS = {
    "typed-lines": CRLF.join(OPTIONS_LIST + [b"%d=" % line for line in range(23, 80)]),
    "overflow-on-line-12": CRLF.join(OPTIONS_LIST[:11] + [b"12=70000", b"13=True", b"14=5"]),
    "numbers-as-text": CRLF.join([b"a=abc", b"b=1e400", b"c=-0", b"d=NaN", b"e=0x10"] * 16),
    "one-line": b"1=True",
}

SERIAL_SETTINGS = {
    "usual": b"9600,N,8,1",
    "blanks-and-lower-case": b" 115200 , e , 7 , 1.5 ",
    "rate-not-standard": b"1,N,8,1",
    "unknown-parity": b"9600,X,8,1",
    "too-few-fields": b"19200,O,5",
}

DRAWER_KICK = {
    "usual": b"027112000025250",
    "short-last-group": b"0271120002",
    "above-255": b"256",
    "not-digits": b"27a+1 -0",
}

DOTTED_ADDRESS = {
    "address": b"192.168.0.10",
    "parts-above-255": b"300.1.2.3",
    "five-parts": b"10.1.2.3.4",
    "host-name": b"dbserver",
    "empty-part": b"10..2.3",
    "signs-and-blanks": b" +1. -2 .3 .99999999999999999999",
}


def escpos_input(stream, chunk_sizes):
    """The stream, then its first chunk sizes, the first last, then their count."""
    return stream + bytes(reversed(chunk_sizes)) + bytes([len(chunk_sizes)])


ORDER_SHEET = (ESC + b"a1" + GS + b"!\x11" + CRLF + CRLF + "주문번호 : 57".encode("cp949") + CRLF
               + GS + b"!\x00" + ESC + b"a0" + b"-" * 40 + CRLF + GS + b"!\x01"
               + "김치찌개 2".encode("cp949") + CRLF + ESC + b"a\x02" + "똠 뷁".encode("cp949")
               + CRLF + CRLF + ESC + b"i")
ESCPOS_DECODER = {
    "order-sheet-in-pieces": escpos_input(ORDER_SHEET, [1, 2, 3, 5, 7, 11]),
    "drawer-kick-and-cut": escpos_input(ESC + b"p0\x19\xfa" + b"x" + ESC + b"m", [2, 1]),
    "unknown-commands-and-lone-lead-byte": escpos_input(
        ESC + b"@" + GS + b"V" + ESC + b"a9" + b"\x81\x20\x80\x7f\xff" + b"\xb0", [4]),
    "largest-size-wrapping": escpos_input(GS + b"!\xff" + "가".encode("cp949") * 4 + b"abc\n",
                                          [3, 1]),
}

RECEIPT_IMAGE = {
    "order-sheet": ORDER_SHEET,
    "largest-size-wrapping": GS + b"!\xff" + "가".encode("cp949") * 4 + b"abc\n" + ESC + b"i",
    "a-line-in-every-height": b"".join(GS + b"!" + bytes([size]) + b"x\n" for size in range(16)),
    "unknown-commands-uncut": (ESC + b"@" + GS + b"V" + ESC + b"a9" + b"\x81\x20\x80\x7f" + ESC
                               + b"p0"),
}

TARGETS = {
    "fuzz_ticket_layouts": TICKET_LAYOUTS,
    "fuzz_config_file": CONFIG_FILE,
    "fuzz_other_options": OTHER_OPTIONS,
    "fuzz_serial_settings": SERIAL_SETTINGS,
    "fuzz_drawer_kick": DRAWER_KICK,
    "fuzz_dotted_address": DOTTED_ADDRESS,
    "fuzz_escpos_decoder": ESCPOS_DECODER,
    "fuzz_receipt_image": RECEIPT_IMAGE,
}


def main():
    for target, seeds in TARGETS.items():
        folder = CORPUS / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, contents in seeds.items():
            (folder / name).write_bytes(contents)


if __name__ == "__main__":
    main()
