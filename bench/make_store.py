"""Writes benchmark card stores in the category file format, the same bytes the program writes.

Usage: make_store.py ROOT

ROOT/big/Qu_data:  one category of 100,000 cards
ROOT/many/Qu_data: 400 categories of 1,000 cards each, spread over the four libraries

Names are 10 to 30 common Chinese characters and a number; texts are a few hundred bytes of Chinese with
ASCII words. Every hundredth card of the many-file store holds the word "needle" in its text. What a search
must find is written to ROOT/expected: one line "TEXT<TAB>cards whose text holds it" per search text.
"""
import os
import random
import struct
import sys

random.seed(7)
root = sys.argv[1]
CHARS = ('的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定'
         '行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些'
         '然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公'
         '无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将'
         '组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处理府研')
WORDS = ['int', 'QString', 'std::vector', 'return', 'http', 'build', 'make', 'class', 'const', 'git', 'commit',
         'README', 'void', 'debug', 'Linux', 'Qt']
NEEDLE = 'needle'
ONE_CHARACTER = '电'
NO_MATCH = 'QString::arg'


def field(data):
    n = len(data)
    if n < 255:
        return bytes([n]) + data
    if n < 65534:
        return b'\xff' + struct.pack('<H', n) + data
    return b'\xff\xff\xff' + struct.pack('<I', n) + data


def text():
    parts = []
    for _ in range(random.randint(100, 220)):
        parts.append(random.choice(WORDS) + ' ' if random.random() < 0.15 else random.choice(CHARS))
    return ''.join(parts) + '\r\n'


TEXTS = [text() for _ in range(2000)]
expected = {NEEDLE: 0, ONE_CHARACTER: 0, NO_MATCH: 0}


def category(name, cards, start, marked):
    out = bytearray(field(b'QuilletArchive File:') + field(b'Ver1.0') + field(name.encode('gbk')) +
                    struct.pack('<i', cards))
    for i in range(cards):
        card = ''.join(random.choice(CHARS) for _ in range(random.randint(10, 30))) + str(start + i)
        content = random.choice(TEXTS)
        if marked and (start + i) % 100 == 0:
            content = NEEDLE + ' ' + content
        if marked:
            for wanted in expected:
                expected[wanted] += wanted in content
        out += field(card.encode('gbk')) + field(content.encode('gbk')) + field(b'')
    return bytes(out)


for home, files, cards in (('big', 1, 100000), ('many', 400, 1000)):
    os.makedirs(f'{root}/{home}/Qu_data')
    for n in range(1, files + 1):
        prefix = ('Qulan.', 'Quuse.', 'Quown.', 'Quweb.')[(n - 1) % 4]
        number = (n - 1) // 4 + 1
        name = f'{prefix}{number:03d}' if number < 100 else f'{prefix}{number}'
        with open(f'{root}/{home}/Qu_data/{name}', 'wb') as f:
            f.write(category('大类别' if files == 1 else f'类别{n}', cards, n * cards, home == 'many'))

with open(f'{root}/expected', 'w', encoding='utf-8') as f:
    for wanted, count in expected.items():
        f.write(f'{wanted}\t{count}\n')
