#!/usr/bin/env python3
"""Writes the small seed files the fuzzers start from (tests/data/wav, ini, id3):
WAV files in the layouts the reader takes, a settings and a theme file, and
ID3v2 tag bodies as fuzz_id3_frames reads them (three selector bytes, then the
body). Run from the repository root; the MP3 seeds are the fixtures of
tools/make_mp3_fixtures.sh."""
import math
import struct


def chunk(cid, body):
    b = cid + struct.pack('<I', len(body)) + body
    return b + b'\0' if len(body) % 2 else b


def fmt(tag, ch, rate, bits, ext_sub=None):
    block = ch * bits // 8
    body = struct.pack('<HHIIHH', tag, ch, rate, rate * block, block, bits)
    if ext_sub is not None:  # WAVE_FORMAT_EXTENSIBLE: cbSize, valid bits, mask, GUID
        body += struct.pack('<HHIH', 22, bits, 3 if ch == 2 else 4, ext_sub)
        body += bytes([0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71])
    return chunk(b'fmt ', body)


def riff(chunks, size=None):
    body = b'WAVE' + chunks
    return b'RIFF' + struct.pack('<I', len(body) if size is None else size) + body


def id3v23_frame(fid, enc, text):
    body = bytes([enc]) + text
    return fid + struct.pack('>I', len(body)) + b'\0\0' + body


def main():
    n = 64
    sine = [math.sin(2 * math.pi * 440 * i / 8000) for i in range(n)]
    s16 = b''.join(struct.pack('<hh', int(12000 * v), int(-12000 * v)) for v in sine)
    s24 = b''.join(struct.pack('<i', int(3000000 * v))[:3] * 2 for v in sine)
    f32 = b''.join(struct.pack('<ff', 0.7 * v, -0.7 * v) for v in sine)
    u8 = bytes(128 + int(100 * v) for v in sine)
    wavs = {
        'pcm16_stereo.wav': riff(fmt(1, 2, 8000, 16) + chunk(b'data', s16)),
        'pcm8_mono.wav': riff(fmt(1, 1, 8000, 8) + chunk(b'LIST', b'INFOabc') + chunk(b'data', u8)),
        'ext24_stereo.wav': riff(fmt(0xFFFE, 2, 8000, 24, 1) + chunk(b'data', s24)),
        'float32_stereo.wav': riff(fmt(3, 2, 8000, 32) + chunk(b'fact', struct.pack('<I', n)) + chunk(b'data', f32)),
        'streamed16.wav': riff(fmt(1, 2, 8000, 16) + b'data' + struct.pack('<I', 0xFFFFFFFF) + s16, 0xFFFFFFFF),
    }
    for name, data in wavs.items():
        open('tests/data/wav/' + name, 'wb').write(data)

    open('tests/data/ini/main.ini', 'wb').write(
        b'[File]\r\nWavDir=/home/user/Music\r\nWavPath=/home/user/Music/a.mp3\r\n\r\n'
        b'[Display]\r\nBmpOctave=2\r\nThresDw=-60\r\n\r\n[Play]\r\nVolume=15\r\nNowLenWaveBufItem=2\r\n\r\n'
        b'[Effectors]\r\nTmstOnOff=1\r\n\r\n[Option]\r\nNowPlayThreadSleepItem=3\r\n')
    open('tests/data/ini/themes.ini', 'wb').write(
        b'Default\n[Default]\nBackB=0\nBackG=0\nBackR=0\nKeyWhiteB=255\n\n[Dark]\nBackB=16\n')

    # Selector bytes: version 2 + b0 % 3, revision b1 & 1, flags b2.
    v23 = (id3v23_frame(b'TIT2', 1, b'\xff\xfe' + '\u30bf\u30a4\u30c8\u30eb'.encode('utf-16-le'))
           + id3v23_frame(b'TPE1', 1, b'\xfe\xff' + 'Band'.encode('utf-16-be'))
           + id3v23_frame(b'TALB', 3, '\u30a2\u30eb\u30d0\u30e0'.encode())
           + id3v23_frame(b'TCOM', 0, b'Composer') + b'\0' * 20)
    open('tests/data/id3/v23_texts.bin', 'wb').write(bytes([1, 0, 0]) + v23)
    v22 = b'TT2' + struct.pack('>I', 6)[1:] + b'\0Title' + b'TP1' + struct.pack('>I', 7)[1:] + b'\0Artist'
    open('tests/data/id3/v22_texts.bin', 'wb').write(bytes([0, 0, 0]) + v22)
    open('tests/data/id3/v24_unsync.bin', 'wb').write(bytes([2, 0, 0x80]) + b'TIT2' + bytes([0, 0, 0, 5, 0, 0])
                                                      + b'\0\xff\x00ab')


if __name__ == '__main__':
    main()
