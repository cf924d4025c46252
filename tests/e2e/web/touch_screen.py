"""A phone or a tablet as Chromium emulates one, through its DevTools
protocol: a mobile viewport whose primary pointer is coarse, fingers that
go through the browser's real input path (Chromium only: the other engines
have no such commands); and axe-core run in the page, in every engine."""

import os

HERE = os.path.dirname(os.path.abspath(__file__))
# The npm package the web test stage installs from package-lock.json.
AXE = os.environ.get('QUADRAFALL_AXE', os.path.join(HERE, 'node_modules', 'axe-core', 'axe.min.js'))


def emulate(page, width, height, ratio, touch=True):
    """A touch screen of width x height CSS pixels at ratio device pixels
    each, on which (pointer: coarse) matches; without touch, a desktop's
    window of that size again."""
    page.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                                {'width': width, 'height': height, 'deviceScaleFactor': ratio, 'mobile': touch})
    page.driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': touch, 'maxTouchPoints': 5})


def centre(page, selector):
    left, top, width, height, _ = page.element_box(selector)
    return left + width / 2, top + height / 2


def touch(page, fingers):
    """The fingers on the screen from now on, {id: (x, y)} in CSS pixels: a
    new id is put down, a known one moves, a missing one is lifted."""
    down = getattr(page, 'fingers_down', {})
    points = lambda chosen: [{'id': finger, 'x': x, 'y': y} for finger, (x, y) in chosen.items()]
    lifted = {finger: point for finger, point in down.items() if finger not in fingers}
    if lifted:
        page.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': points(lifted)})
    elif fingers:
        kind = 'touchStart' if set(fingers) - set(down) else 'touchMove'
        page.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': points(fingers)})
    page.fingers_down = dict(fingers)


def axe_violations(page, impacts=('critical', 'serious')):
    """axe-core's violations of those impacts in the page as it is now:
    [rule id, impact, [target selectors]]. In every engine."""
    with open(AXE) as file:
        page.js(file.read())
    page.js("""
        const impacts = arguments[0];
        window.axeFound = null;
        axe.run(document).then((result) => {
          window.axeFound = result.violations.filter((v) => impacts.includes(v.impact))
            .map((v) => [v.id, v.impact, v.nodes.map((node) => node.target.join(' '))]);
        });""", list(impacts))
    if not page.wait_until(lambda: page.js('return window.axeFound !== null;'), 30000):
        raise AssertionError('axe-core did not finish')
    return page.js('return window.axeFound;')
