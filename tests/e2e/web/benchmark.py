"""Measures the web page in headless Chromium; not a test. Prints:

- the size of the page and its script, uncompressed;
- the time from navigation to the first game frame, browser start not
  counted: when the first frame is put on the canvas and when the browser
  next paints, median of 10 navigations in one running browser, and median
  of 10 fresh browsers (whose first page also waits for its renderer
  process to start);
  For scale, the same for a bare page that puts one frame on one canvas
  from an inline script: what the browser and the machine cost anyway;
- the page's CPU time over 10 s idle before "New" and over 10 s of play at
  level 9 (the renderer's main thread and its whole process, as Chromium's
  own performance metrics count them), median of 3, with the number of
  timeouts and animation frames the page asked for meanwhile.

usage: benchmark.py [runs]  (QUADRAFALL_PAGE names the page's index.html)
"""

import os
import statistics
import sys
import tempfile

from browser import PAGE, PageSession

# The page is measured with the browser's own clock, not the tests' held one.
# Notes when the page first puts pixels on a canvas and when the browser
# paints next; set up before any of the page's own scripts run.
FIRST_FRAME_PROBE = """
  const put = CanvasRenderingContext2D.prototype.putImageData;
  window.firstFrame = null;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    put.apply(this, args);
    if (window.firstFrame === null) {
      window.firstFrame = {put: performance.now(), painted: null};
      requestAnimationFrame(() => setTimeout(() => { window.firstFrame.painted = performance.now(); }, 0));
    }
  };
"""


# Counts the timeouts and animation frames the page asks for.
TIMER_COUNTER = """
  window.asked = {timeouts: 0, frames: 0};
  const setTimeoutOfPage = window.setTimeout, frameOfPage = window.requestAnimationFrame;
  window.setTimeout = function (...args) { ++asked.timeouts; return setTimeoutOfPage.apply(this, args); };
  window.requestAnimationFrame = function (...args) { ++asked.frames; return frameOfPage.apply(this, args); };
"""

BARE_PAGE = """<!DOCTYPE html><html><body><canvas width="291" height="384"></canvas><script>
document.querySelector('canvas').getContext('2d').putImageData(new ImageData(291, 384), 0, 0);
</script></body></html>"""


def first_frame_ms(url):
    with PageSession(clock=False) as page:
        page.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': FIRST_FRAME_PROBE})
        page.driver.get(url)
        page.wait_until(lambda: page.js('return window.firstFrame !== null && window.firstFrame.painted !== null;'))
        return page.js('return window.firstFrame;')


def first_frames_in_one_browser(url, runs):
    """The first frame of runs navigations from a blank page in one running
    browser, after one navigation that warms it up."""
    frames = []
    with PageSession(clock=False) as page:
        page.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': FIRST_FRAME_PROBE})
        for _ in range(runs + 1):
            page.driver.get('about:blank')
            page.driver.get(url)
            page.wait_until(lambda: page.js('return window.firstFrame !== null && window.firstFrame.painted !== null;'))
            frames.append(page.js('return window.firstFrame;'))
    return frames[1:]


def report_first_frames(name, url, runs):
    for browsers, frames in [('in a running browser', first_frames_in_one_browser(url, runs)),
                             ('fresh browsers', [first_frame_ms(url) for _ in range(runs)])]:
        put = statistics.median(frame['put'] for frame in frames)
        painted = statistics.median(frame['painted'] for frame in frames)
        print('navigation to first frame, %s, %s (median of %d): on the canvas %.1f ms, painted %.1f ms' %
              (name, browsers, runs, put, painted))
        print('  all runs, painted: %s' % ', '.join('%.0f' % frame['painted'] for frame in frames))


def cpu_seconds(page):
    metrics = page.driver.execute_cdp_cmd('Performance.getMetrics', {})['metrics']
    values = {metric['name']: metric['value'] for metric in metrics}
    return values['ThreadTime'], values['ProcessTime'], values['TaskDuration']


def cpu_over(seconds, start):
    """CPU seconds of the page over a span, after start(page) set it going,
    and the timeouts and animation frames it asked for meanwhile."""
    with PageSession(clock=False) as page:
        page.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': TIMER_COUNTER})
        page.driver.execute_cdp_cmd('Performance.enable', {'timeDomain': 'threadTicks'})
        page.open()
        start(page)
        page.pause(1000)
        before = cpu_seconds(page) + tuple(page.js('return [asked.timeouts, asked.frames];'))
        page.pause(seconds * 1000)
        after = cpu_seconds(page) + tuple(page.js('return [asked.timeouts, asked.frames];'))
        return [b - a for a, b in zip(before, after)]


def idle(page):
    pass


def level_9(page):
    page.choose_level(9)
    page.choose_new()


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 10
    folder = os.path.dirname(PAGE)
    sizes = {name: os.path.getsize(os.path.join(folder, name)) for name in ['index.html', 'quadrafall.js']}
    print('page size: index.html %d + quadrafall.js %d = %d bytes (%.1f KB)' %
          (sizes['index.html'], sizes['quadrafall.js'], sum(sizes.values()), sum(sizes.values()) / 1024))
    report_first_frames('the game', 'file://' + PAGE, runs)
    with tempfile.TemporaryDirectory() as bare:
        with open(os.path.join(bare, 'index.html'), 'w') as file:
            file.write(BARE_PAGE)
        report_first_frames('a bare canvas page', 'file://' + os.path.join(bare, 'index.html'), runs)
    for name, start in [('idle before New', idle), ('playing at level 9', level_9)]:
        samples = [cpu_over(10, start) for _ in range(3)]
        thread, process, tasks, timeouts, frames = (statistics.median(sample[i] for sample in samples) for i in range(5))
        print('CPU over 10 s %s (median of 3): main thread %.3f s, renderer process %.2f s, tasks %.3f s; '
              '%d timeouts and %d animation frames asked for' % (name, thread, process, tasks, timeouts, frames))

if __name__ == '__main__':
    main()
