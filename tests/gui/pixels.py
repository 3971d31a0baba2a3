"""Screenshots of the virtual display, read pixel by pixel."""
import subprocess


class Screenshot:
    """The whole screen at one moment: a PNG in the build's gui-shots folder
    for people to look at, read through a PPM copy."""

    def __init__(self, session, label):
        self.path = session.screenshot(label)
        ppm = subprocess.run(["convert", self.path, "ppm:-"], check=True, capture_output=True,
                             timeout=30).stdout
        self._parse(ppm)

    def _parse(self, data):
        fields, pos = [], 0
        while len(fields) < 4:  # magic, width, height, largest value
            while data[pos:pos + 1].isspace():
                pos += 1
            start = pos
            while pos < len(data) and not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError("unexpected screenshot format %r" % fields)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[pos + 1:]

    def pixel(self, x, y):
        """(r, g, b), or None outside the screen."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def colours_in(self, rect):
        left, top, right, bottom = rect
        return {self.pixel(x, y) for y in range(top, bottom) for x in range(left, right)}
