"""What the desktop builds make, from the native build's own tools: the
idle frame of the software surface (tools/frame_png) and the Top Ten file
the game writes (tests/store/top_ten_writer). The page must match them
byte for byte and pixel for pixel.
"""

import os
import struct
import subprocess
import tempfile

NATIVE_BUILD = os.environ.get('QUADRAFALL_NATIVE_BUILD', '')


def native_tool(relative):
    path = os.path.join(NATIVE_BUILD, relative)
    if not os.access(path, os.X_OK):
        raise AssertionError('the native build has no %s: build the native tree (%s) first' % (relative, NATIVE_BUILD))
    return path


def png_rgb(png):
    """Width, height and (r, g, b) tuples, row by row, of PNG bytes, as
    ImageMagick reads them."""
    ppm = subprocess.run(['convert', 'png:-', '-depth', '8', 'ppm:-'], input=png, capture_output=True,
                         check=True).stdout
    # P6, width, height, maximum, one whitespace byte each, then the samples.
    fields = []
    position = 0
    while len(fields) < 4:
        while ppm[position:position + 1].isspace():
            position += 1
        end = position
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[position:end])
        position = end
    data = ppm[position + 1:]
    width, height = int(fields[1]), int(fields[2])
    return width, height, [tuple(data[i:i + 3]) for i in range(0, width * height * 3, 3)]


def frame(state=None):
    """The software surface's frame, idle or of a state in frame_png's
    format, as (r, g, b) tuples row by row."""
    with tempfile.TemporaryDirectory() as folder:
        output = os.path.join(folder, 'frame.png')
        command = [native_tool('tools/frame_png')]
        if state is not None:
            command += ['--state', '-']
        subprocess.run(command + [output], input=(state or '').encode(), check=True, capture_output=True)
        with open(output, 'rb') as file:
            width, height, pixels = png_rgb(file.read())
    return pixels


def top_ten_file(score, name, stored=None):
    """The bytes of highscores.dat after the game, started on stored (or on
    no file), enters name with score as the name-entry dialog's OK does."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, 'highscores.dat')
        if stored is not None:
            with open(path, 'wb') as file:
                file.write(stored)
        subprocess.run([native_tool('tests/store/top_ten_writer'), 'store', str(score), name], cwd=folder, check=True,
                       capture_output=True)
        with open(path, 'rb') as file:
            return file.read()


def default_top_ten_file():
    """What the game stores when nothing was stored before and a score that
    does not enter is offered: the default table of ten "Anonymous" and 0."""
    return top_ten_file(0, 'Nobody')


def records(entries):
    """Test input in the file's own form: (score, name) pairs as 14-byte
    records, each 0x0A kept as 0x0D 0x0A."""
    data = b''.join(struct.pack('<i', score) + name.encode('latin-1').ljust(10, b'\0')[:10]
                    for score, name in entries)
    return data.replace(b'\n', b'\r\n')
