#!/usr/bin/python3
"""Cuts a General MIDI SoundFont down to what the game's pieces play.

Usage: make_soundfont.py [--rate-divisor=N] SOURCE.sf2 OUTPUT.sf2 PIECE.mid...
(with N, the samples at 1/N of their rate: a smaller, duller font that arrives sooner)
Keeps the presets the pieces choose (drums as bank 128), and in them only the zones that one
of the pieces' notes (key and velocity) reaches, with the samples those zones play. The page
then loads a small part of the SoundFont, and the pieces sound as they do with all of it.
"""
import array
import struct
import sys

DRUM_CHANNEL = 9
DRUM_BANK = 128
GEN_KEY_RANGE = 43
GEN_VELOCITY_RANGE = 44
GEN_INSTRUMENT = 41
GEN_SAMPLE = 53
SAMPLE_PADDING = 46  # zero frames the format asks for after each sample
STEREO_SIDES = 0x0E  # right, left or linked sample
PRESET, INSTRUMENT, SAMPLE = '<20sHHHIII', '<20sH', '<20sIIIIIBbHH'  # phdr, inst, shdr records


def variable_length(data, at):
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, at


def track_events(data, at, end):
    """(time, status, data bytes) of one track chunk's channel messages.

    Running status belongs to channel messages alone: a meta or system-exclusive event between
    two of them leaves it as it was, as the game's own reader has it.
    """
    time = 0
    status = 0
    while at < end:
        delta, at = variable_length(data, at)
        time += delta
        if data[at] == 0xFF:
            length, at = variable_length(data, at + 2)
            at += length
        elif data[at] in (0xF0, 0xF7):
            length, at = variable_length(data, at + 1)
            at += length
        else:
            if data[at] >= 0x80:
                status = data[at]
                at += 1
            size = 1 if status & 0xF0 in (0xC0, 0xD0) else 2
            yield time, status, data[at:at + size]
            at += size


def notes_played(path):
    """{(bank, program): {(key, velocity)}} of every note a Standard MIDI File sounds."""
    data = open(path, 'rb').read()
    if data[:4] == b'RIFF':
        data = data[data.index(b'MThd'):]
    track_count = struct.unpack('>H', data[10:12])[0]
    events = []
    at = 8 + struct.unpack('>I', data[4:8])[0]
    for track in range(track_count):
        length = struct.unpack('>I', data[at + 4:at + 8])[0]
        events += [(time, track, status, body) for time, status, body in track_events(data, at + 8, at + 8 + length)]
        at += 8 + length
    banks = [DRUM_BANK if channel == DRUM_CHANNEL else 0 for channel in range(16)]
    programs = [0] * 16
    played = {}
    for _, _, status, body in sorted(events, key=lambda event: event[:2]):
        kind, channel = status & 0xF0, status & 0x0F
        if kind == 0xC0:
            programs[channel] = body[0]
        elif kind == 0xB0 and body[0] == 0 and channel != DRUM_CHANNEL:
            banks[channel] = body[1]
        elif kind == 0x90 and body[1] > 0:
            played.setdefault((banks[channel], programs[channel]), set()).add((body[0], body[1]))
    return played


def riff_chunks(data, at, end):
    while at < end:
        name, length = data[at:at + 4], struct.unpack('<I', data[at + 4:at + 8])[0]
        yield name, data[at + 8:at + 8 + length]
        at += 8 + length + (length & 1)


def records(chunk, layout):
    size = struct.calcsize(layout)
    return [list(struct.unpack(layout, chunk[at:at + size])) for at in range(0, len(chunk), size)]


class Zones:
    """A bag list (pbag or ibag) with its generators and modulators."""

    def __init__(self, bags, generators, modulators):
        self.bags, self.generators, self.modulators = bags, generators, modulators

    def zones_of(self, first_bag, end_bag):
        for bag in range(first_bag, end_bag):
            generators = self.generators[self.bags[bag][0]:self.bags[bag + 1][0]]
            modulators = self.modulators[self.bags[bag][1]:self.bags[bag + 1][1]]
            yield generators, modulators


def ranges_reach(generators, notes):
    """The notes of `notes` inside a zone's key and velocity ranges."""
    low_key, high_key, low_velocity, high_velocity = 0, 127, 0, 127
    for operator, amount in generators:
        if operator == GEN_KEY_RANGE:
            low_key, high_key = amount & 0xFF, amount >> 8
        elif operator == GEN_VELOCITY_RANGE:
            low_velocity, high_velocity = amount & 0xFF, amount >> 8
    return {(key, velocity) for key, velocity in notes
            if low_key <= key <= high_key and low_velocity <= velocity <= high_velocity}


class ZoneWriter:
    """Collects zones into new bag, generator and modulator lists."""

    def __init__(self):
        self.bags, self.generators, self.modulators = [], [], []

    def add(self, generators, modulators):
        self.bags.append([len(self.generators), len(self.modulators)])
        self.generators += generators
        self.modulators += modulators

    def chunks(self):
        """The bag, modulator and generator chunks, each with its closing record."""
        bags = self.bags + [[len(self.generators), len(self.modulators)]]
        return (pack('<HH', bags), pack('<5H', self.modulators + [[0] * 5]),
                pack('<HH', self.generators + [[0, 0]]))


def pack(layout, rows):
    return b''.join(struct.pack(layout, *row) for row in rows)


def kept_zones(zones, first_bag, end_bag, notes, link):
    """The zones of one preset or instrument that `notes` reach, each with its link
    (instrument or sample, None for a global zone, which is kept as it is) and the notes
    that reach it."""
    kept = []
    for index, (generators, modulators) in enumerate(zones.zones_of(first_bag, end_bag)):
        linked = [amount for operator, amount in generators if operator == link]
        if not linked:
            if index == 0:
                kept.append((generators, modulators, None, notes))
            continue
        reached = ranges_reach(generators, notes)
        if reached:
            kept.append((generators, modulators, linked[0], reached))
    return kept


def relink(generators, link, new_index):
    return [[operator, new_index if operator == link else amount] for operator, amount in generators]


def at_lower_rate(data, divisor):
    """16-bit samples at 1/divisor of their rate, each the mean of the ones it stands for."""
    if divisor == 1:
        return data
    values = array.array('h', data)
    return array.array('h', [sum(values[i:i + divisor]) // divisor
                             for i in range(0, len(values) - divisor + 1, divisor)]).tobytes()


def cut(source, played, divisor=1):
    lists = {body[:4]: dict(riff_chunks(body, 4, len(body)))
             for name, body in riff_chunks(source, 12, len(source)) if name == b'LIST'}
    info, samples, pdta = lists[b'INFO'], lists[b'sdta'][b'smpl'], lists[b'pdta']
    presets = records(pdta[b'phdr'], PRESET)
    instruments = records(pdta[b'inst'], INSTRUMENT)
    headers = records(pdta[b'shdr'], SAMPLE)
    preset_zones = Zones(records(pdta[b'pbag'], '<HH'), records(pdta[b'pgen'], '<HH'), records(pdta[b'pmod'], '<5H'))
    instrument_zones = Zones(records(pdta[b'ibag'], '<HH'), records(pdta[b'igen'], '<HH'),
                             records(pdta[b'imod'], '<5H'))

    missing = set(played) - {(preset[2], preset[1]) for preset in presets[:-1]}
    if missing:
        sys.exit(f'make_soundfont.py: the SoundFont has no preset for (bank, program) {sorted(missing)}')

    # The presets played, their zones that the notes reach, and the notes each instrument gets.
    kept_presets, instrument_notes = [], {}
    for number, preset in enumerate(presets[:-1]):
        notes = played.get((preset[2], preset[1]))
        if notes:
            zones = kept_zones(preset_zones, preset[3], presets[number + 1][3], notes, GEN_INSTRUMENT)
            kept_presets.append((preset, zones))
            for _, _, instrument, reached in zones:
                if instrument is not None:
                    instrument_notes.setdefault(instrument, set()).update(reached)

    sample_index, kept_samples = {}, []

    def keep_sample(index):
        if index not in sample_index:
            sample_index[index] = len(kept_samples)
            kept_samples.append(index)
            if headers[index][9] & STEREO_SIDES:  # a stereo pair's partner comes along
                keep_sample(headers[index][8])
        return sample_index[index]

    instrument_writer, new_instruments, instrument_index = ZoneWriter(), [], {}
    for instrument in sorted(instrument_notes):
        instrument_index[instrument] = len(new_instruments)
        new_instruments.append([instruments[instrument][0], len(instrument_writer.bags)])
        for generators, modulators, sample, _ in kept_zones(
                instrument_zones, instruments[instrument][1], instruments[instrument + 1][1],
                instrument_notes[instrument], GEN_SAMPLE):
            new_sample = None if sample is None else keep_sample(sample)
            instrument_writer.add(relink(generators, GEN_SAMPLE, new_sample), modulators)

    preset_writer, new_presets = ZoneWriter(), []
    for preset, zones in kept_presets:
        new_presets.append(preset[:3] + [len(preset_writer.bags)] + preset[4:])
        for generators, modulators, instrument, _ in zones:
            preset_writer.add(relink(generators, GEN_INSTRUMENT, instrument_index.get(instrument)), modulators)

    new_samples, new_headers = bytearray(), []
    for index in kept_samples:
        name, start, end, loop_start, loop_end, rate, pitch, correction, link, kind = headers[index]
        at = len(new_samples) // 2
        new_samples += at_lower_rate(samples[2 * start:2 * end], divisor) + bytes(2 * SAMPLE_PADDING)
        partner = sample_index[link] if kind & STEREO_SIDES else 0
        new_headers.append([name, at, at + (end - start) // divisor, at + (loop_start - start) // divisor,
                            at + (loop_end - start) // divisor, rate // divisor, pitch, correction, partner, kind])

    pbag, pmod, pgen = preset_writer.chunks()
    ibag, imod, igen = instrument_writer.chunks()
    end_preset = presets[-1][:3] + [len(preset_writer.bags)] + presets[-1][4:]
    end_instrument = [instruments[-1][0], len(instrument_writer.bags)]
    end_sample = [b'EOS'] + [0] * 9
    return riff(b'RIFF', b'sfbk', [
        riff(b'LIST', b'INFO', [chunk(name, data) for name, data in info.items()]),
        riff(b'LIST', b'sdta', [chunk(b'smpl', bytes(new_samples))]),
        riff(b'LIST', b'pdta', [
            chunk(b'phdr', pack(PRESET, new_presets + [end_preset])),
            chunk(b'pbag', pbag), chunk(b'pmod', pmod), chunk(b'pgen', pgen),
            chunk(b'inst', pack(INSTRUMENT, new_instruments + [end_instrument])),
            chunk(b'ibag', ibag), chunk(b'imod', imod), chunk(b'igen', igen),
            chunk(b'shdr', pack(SAMPLE, new_headers + [end_sample])),
        ]),
    ])


def chunk(name, data):
    return name + struct.pack('<I', len(data)) + data + bytes(len(data) & 1)


def riff(name, kind, chunks):
    return chunk(name, kind + b''.join(chunks))


def main():
    divisor = 1
    if sys.argv[1].startswith('--rate-divisor='):
        divisor = int(sys.argv.pop(1).split('=')[1])
    source, output, pieces = sys.argv[1], sys.argv[2], sys.argv[3:]
    played = {}
    for piece in pieces:
        for preset, notes in notes_played(piece).items():
            played.setdefault(preset, set()).update(notes)
    with open(source, 'rb') as file:
        cut_font = cut(file.read(), played, divisor)
    with open(output, 'wb') as file:
        file.write(cut_font)


if __name__ == '__main__':
    main()
