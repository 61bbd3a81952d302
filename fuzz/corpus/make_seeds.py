#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into the folders beside this
script. The seeds are valid messages and streams built from the wire format
alone (header digest, keyed and fixed trailers), so the fuzzer starts from
inputs that get past every check. Run it again after adding a message type."""
import hashlib
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# (type, client body size or None, server body size or None)
FIXED = [
    (601, None, 6), (602, 4, 4), (605, None, 1096), (607, 8, 8), (608, 28, 28),
    (609, 1096, None), (610, None, 1100), (615, 8, 8), (616, 28, 28), (617, 1100, None),
    (618, None, 1096), (621, 16, 16), (622, 20, 20), (623, 4, None), (624, None, 6),
    (625, 8, None), (626, None, 12), (631, None, 44), (641, None, 10), (642, None, 1104),
    (643, None, 1120), (644, None, 1108), (645, None, 1124), (646, None, 1104),
    (3001, 16, None), (3002, None, 8), (3003, None, 12), (3004, None, 8), (3005, 8, None),
    (3010, None, 28), (3011, 0, 0), (3016, None, 8), (3026, 8, 8), (3027, 12, 12),
    (3031, 8, 8), (3032, 16, 16), (3033, None, 12), (3040, 228, 228), (3041, None, 20),
    (3045, None, 8), (3817, None, 48), (3821, None, 12),
]
PERSON_SIZES = [256, 256, 256, 264, 228, 236, 228, 256, 256]


def pattern(n, salt):
    return bytes(((i * 7 + salt) & 0x7F) for i in range(n))


def chat(text):
    fixed = struct.pack('>Ihh20sihhhhhhhH', 1001, 1, -1, 'font'.encode(), 0xFF, 9,
                        0, 0, 0, 0, 0, len(text), 0)
    return fixed + text + b'\0'


def header(t, length, seq):
    digest = hashlib.md5(struct.pack('>HII', t, length, seq) + b'4736').digest()
    return struct.pack('>HHII', t, 0, length, seq) + digest + b'\0' * 4


def keyed(t, seq, key, body, trailer_seq=None):
    s = seq if trailer_seq is None else trailer_seq
    d = hashlib.md5(body + struct.pack('>III', s, 7351, key)).digest()
    return header(t, len(body) + 17, seq) + body + d + b'\0'


def fixed(t, seq, body):
    d = hashlib.md5(body + struct.pack('>III', 2914, 7351, 8127)).digest()
    return header(t, len(body) + 17, seq) + body + d + b'\0'


def write(folder, name, data):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    with open(os.path.join(HERE, folder, name), 'wb') as f:
        f.write(data)


def message_seeds():
    for t, client, server in FIXED:
        if server is not None:
            write('server_messages', f'{t}', struct.pack('>H', t) + pattern(server, t))
        if client is not None:
            write('client_messages', f'{t}', struct.pack('>H', t) + pattern(client, t))
    for k, size in enumerate(PERSON_SIZES):
        base = 3100 + 50 * k
        write('server_messages', f'{base + 6}', struct.pack('>H', base + 6) + pattern(2 * size, k))
        write('server_messages', f'{base + 7}', struct.pack('>H', base + 7) + pattern(size, k))
        write('server_messages', f'{base + 10}', struct.pack('>H', base + 10) + pattern(352, k))
        write('server_messages', f'{base + 11}', struct.pack('>H', base + 11) + pattern(176, k))
    write('server_messages', '3806', struct.pack('>H', 3806) + pattern(96, 1))
    for t in (3009, 3021, 3819):
        write('server_messages', f'{t}', struct.pack('>H', t) + chat(b'hello'))
    for t in (3009, 3021):
        write('client_messages', f'{t}', struct.pack('>H', t) + chat(b'hi there'))


def stream_seeds():
    key, last = 0x5A17C0DE, 100
    key_body = struct.pack('>IhHIhHIhHI', 0, 0, 0, key, 0, 0, 7, 0, 0, last)
    s = header(3010, len(key_body) + 17, 0) + key_body + b'\0' * 17
    seq = last
    for t, _, server in FIXED:
        if server is None or t == 3010:
            continue
        seq += 1
        s += keyed(t, seq, key, pattern(server, t))
    s += header(3011, 0, 0)                                   # length 0
    s += keyed(618, 0, key, pattern(1096, 1), trailer_seq=seq)  # seq 0: previous seq keys it
    seq += 1
    s += keyed(3021, seq, key, chat(b'line'))
    seq += 1
    s += keyed(3106, seq, key, pattern(512, 3))
    write('frame_stream', 'whole', b'\0' + s)
    write('frame_stream', 'chunked', bytes([5, 10, 0, 1, 33, 200]) + s)
    write('frame_stream', 'stale_seq', b'\0' + s[:2000] + keyed(601, 1, key, pattern(6, 0)))
    write('frame_stream', 'bad_trailer', b'\0' + s[:45] + keyed(601, 5000, key ^ 1, pattern(6, 0)))
    write('frame_stream', 'bad_length', b'\0' + s[:45] + header(618, 9, 5001) + b'x' * 40)

    c = fixed(3001, 1, struct.pack('>IHHhhhh', 1001, 3, 1, -1, 2, 7, 1))
    c += keyed(3011, 2, key, b'')
    c += keyed(617, 3, key, pattern(1100, 2))
    c += fixed(3009, 4, chat(b'plain'))
    c += keyed(3021, 5, key, chat(b'keyed'))
    c += keyed(3040, 6, key, pattern(228, 4))
    write('frame_decoder', 'client', b'\0' + c)
    write('frame_decoder', 'chunked', bytes([3, 1, 10, 100]) + c)
    write('frame_decoder', 'bad_length', b'\0' + c[:65] + header(3021, 16, 9) + b'y' * 20)


if __name__ == '__main__':
    message_seeds()
    stream_seeds()
