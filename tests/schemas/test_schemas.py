#!/usr/bin/env python3
"""Validates example and program-written JSON files against schemas/*.schema.json.

Usage: test_schemas.py IPCORE_HOST SOURCE_DIR WORK_DIR
Exit 77 (skipped) when python3-jsonschema is missing.
"""
import copy
import glob
import json
import os
import shutil
import subprocess
import sys
import unittest

try:
    from jsonschema import Draft202012Validator
except ImportError:
    print("python3-jsonschema is not installed", file=sys.stderr)
    sys.exit(77)

PROGRAM, SOURCE, WORK = (os.path.abspath(p) for p in sys.argv[1:4])
EXAMPLES = os.path.join(SOURCE, "examples")


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def validator(name):
    schema = load(os.path.join(SOURCE, "schemas", name + ".schema.json"))
    return Draft202012Validator(schema, format_checker=Draft202012Validator.FORMAT_CHECKER)


def run(*args, cwd=None):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return subprocess.run([PROGRAM, *args], cwd=cwd, env=env, capture_output=True, text=True,
                          timeout=60)


def fresh_dir(name):
    path = os.path.join(WORK, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


class SchemaTest(unittest.TestCase):
    def assertValid(self, kind, document, where):
        errors = [f"{list(e.absolute_path)}: {e.message}"
                  for e in validator(kind).iter_errors(document)]
        self.assertEqual(errors, [], where)

    def assertInvalid(self, kind, document, where):
        self.assertFalse(validator(kind).is_valid(document), where + " passed the schema")


class SchemaFiles(SchemaTest):
    def test_schemas_are_draft_2020_12_with_ids_and_descriptions(self):
        paths = sorted(glob.glob(os.path.join(SOURCE, "schemas", "*.schema.json")))
        self.assertEqual([os.path.basename(p) for p in paths],
                         ["check-verdict.schema.json", "design.schema.json",
                          "dialog-snapshot.schema.json", "link-plan.schema.json",
                          "parameter-set.schema.json", "resources.schema.json"])
        for path in paths:
            with self.subTest(path=path):
                schema = load(path)
                Draft202012Validator.check_schema(schema)
                self.assertEqual(schema["$schema"], "https://json-schema.org/draft/2020-12/schema")
                self.assertTrue(schema["$id"].endswith("/" + os.path.basename(path)))
                self.assertTrue(schema["title"] and schema["description"])
                self.assertIs(schema["additionalProperties"], False)
                for key, sub in schema["properties"].items():
                    self.assertIn("description", sub, f"{path}: {key}")


class Examples(SchemaTest):
    def test_parameter_sets(self):
        paths = glob.glob(os.path.join(EXAMPLES, "*.json"))
        self.assertGreaterEqual(len(paths), 4)
        for path in paths:
            with self.subTest(path=path):
                self.assertValid("parameter-set", load(path), path)

    def test_designs(self):
        paths = (glob.glob(os.path.join(EXAMPLES, "designs", "*.json")) +
                 glob.glob(os.path.join(EXAMPLES, "expected", "*", "design.json")))
        self.assertGreaterEqual(len(paths), 5)
        for path in paths:
            with self.subTest(path=path):
                self.assertValid("design", load(path), path)


class ProgramOutput(SchemaTest):
    """Files the program writes, in the modes that write them."""

    def configure(self, out_dir, *args):
        out = os.path.join(out_dir, "params.json")
        result = run("configure", "--batch", "--output", out, *args, cwd=out_dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        return load(out)

    def test_configured_new_cores(self):
        cases = [  # device, extra arguments
            ("TQ2H4-FF676", []),
            ("TQ2S2-FG484", []),
            ("TQ2M1-BG256", []),
            ("TQ3H8-FF900", ["--calculate"]),
        ]
        for device, extra in cases:
            with self.subTest(device=device, extra=extra):
                out = fresh_dir("new-" + device)
                params = self.configure(out, "--device", device, "--name", "link0", *extra)
                self.assertValid("parameter-set", params, device)
                self.assertEqual(params["target_device"], device)
                # Only OK decides the bias; Calculate leaves the key out.
                self.assertEqual("ifChangedAllOfBias" in params, "--calculate" not in extra)

    def test_edited_examples(self):
        for path in glob.glob(os.path.join(EXAMPLES, "*.json")):
            with self.subTest(path=path):
                out = fresh_dir("edit-" + os.path.basename(path))
                params = self.configure(out, "--edit", path, "--answer", "yes")
                self.assertValid("parameter-set", params, path)
                self.assertEqual(params["module"], load(path)["module"])

    def test_designs_updated_by_configure(self):
        for name in ("empty", "quillan_q1", "jesd_rx_q0"):
            with self.subTest(design=name):
                out = fresh_dir("design-" + name)
                design = os.path.join(out, "design.json")
                shutil.copy(os.path.join(EXAMPLES, "designs", name + ".json"), design)
                before = len(load(design).get("instances", []))
                params = self.configure(out, "--device", "TQ2H4-FF676", "--name", "added",
                                        "--design", design)
                written = load(design)
                self.assertValid("design", written, design)
                self.assertValid("parameter-set", params, design)
                self.assertEqual(len(written["instances"]), before + 1)

    def test_resources(self):
        for path in glob.glob(os.path.join(EXAMPLES, "*.json")):
            with self.subTest(path=path):
                result = run("resources", path)
                self.assertEqual(result.returncode, 0, result.stderr)
                report = json.loads(result.stdout)
                self.assertValid("resources", report, path)
                self.assertEqual(len(report["laneList"]),
                                 int(load(path)["Number_of_lanes"]))

    def test_link_plans_and_emitted_sets(self):
        worked = ["--fs", "1000", "--l", "4", "--m", "2", "--s", "1", "--np", "16"]
        cases = [  # arguments, exit code
            (worked, 0),
            (worked + ["--device", "TQ2H4-FF676", "--mode", "rx"], 0),
            (["--fs", "245.76", "--l", "4", "--m", "4", "--s", "1", "--np", "16", "--n", "14",
              "--cs", "2", "--device", "TQ2S2-FG484", "--mode", "tx"], 0),
            (["--fs", "500", "--l", "8", "--m", "2", "--s", "1", "--np", "16"], 1),
            (worked + ["--k", "2"], 1),
        ]
        out = fresh_dir("plans")
        for number, (args, code) in enumerate(cases):
            with self.subTest(args=args):
                emitted = os.path.join(out, f"plan{number}.json")
                emit = ["--emit-set", emitted] if "--device" in args else []
                result = run("plan", "--json", *args, *emit)
                self.assertEqual(result.returncode, code, result.stderr)
                plan = json.loads(result.stdout)
                self.assertValid("link-plan", plan, " ".join(args))
                self.assertEqual(plan["errors"] == [], code == 0)
                if emit:
                    self.assertValid("parameter-set", load(emitted), emitted)

    def test_check_verdicts(self):
        tx = os.path.join(EXAMPLES, "tx_2lane.json")
        infeasible = os.path.join(fresh_dir("verdicts"), "infeasible.json")
        with open(infeasible, "w", encoding="utf-8") as f:
            json.dump(mutated(load(tx), lambda d: d.update(
                Line_Rate="8.0", Reference_CLK_Frequency="156.25", Default_K="2")), f)
        cases = [  # arguments, exit code
            ([tx], 0),
            ([os.path.join(EXAMPLES, "groupb.json")], 0),
            ([os.path.join(EXAMPLES, "both_8lane.json")], 0),
            ([infeasible], 1),
            ([os.path.join(EXAMPLES, "both_8lane.json"), "--design",
              os.path.join(EXAMPLES, "designs", "quillan_q1.json")], 1),
            ([os.path.join(EXAMPLES, "rx_2lane.json"), "--design",
              os.path.join(EXAMPLES, "designs", "jesd_rx_q0.json")], 1),
        ]
        for args, code in cases:
            with self.subTest(args=args):
                result = run("check", "--json", *args)
                self.assertEqual(result.returncode, code, result.stderr)
                verdict = json.loads(result.stdout)
                self.assertValid("check-verdict", verdict, " ".join(args))
                self.assertEqual(verdict["feasible"], code == 0)

    def test_snapshots(self):
        cases = [("TQ2H4-FF676", None), ("TQ2M1-BG256", None),
                 ("TQ2H4-FF676", os.path.join(EXAMPLES, "both_8lane.json"))]
        for device, edit in cases:
            with self.subTest(device=device, edit=edit):
                out = fresh_dir(f"snapshot-{device}-{bool(edit)}")
                args = ["configure", "--device", device, "--snapshot", out]
                if edit:
                    args += ["--edit", edit]
                result = run(*args)
                self.assertEqual(result.returncode, 0, result.stderr)
                snapshot = load(os.path.join(out, "dialog.json"))
                self.assertValid("dialog-snapshot", snapshot, out)
                for tab in snapshot["tabs"]:
                    self.assertTrue(os.path.isfile(os.path.join(out, tab["image"])))


def mutated(document, change):
    copied = copy.deepcopy(document)
    change(copied)
    return copied


class BrokenFiles(SchemaTest):
    def test_broken_parameter_sets(self):
        good = load(os.path.join(EXAMPLES, "both_8lane.json"))
        rx = load(os.path.join(EXAMPLES, "rx_2lane.json"))
        cases = {
            "line rate as a number": lambda d: d.update(Line_Rate=9.8304),
            "lane count as an integer": lambda d: d.update(Number_of_lanes=8),
            "Cm as text": lambda d: d.update(FFE_CM="2"),
            "version missing": lambda d: d.pop("version"),
            "lane count missing": lambda d: d.pop("Number_of_lanes"),
            "misspelt key": lambda d: d.update(Line_rate="9.8304"),
            "version 1.1": lambda d: d.update(version="1.1"),
            "line rate above 12.5": lambda d: d.update(Line_Rate="12.6"),
            "line rate ending in a point": lambda d: d.update(Line_Rate="9."),
            "reference clock below 50 MHz": lambda d: d.update(Reference_CLK_Frequency="49.9"),
            "F above 256": lambda d: d.update(Default_F="257"),
            "K of 0": lambda d: d.update(Default_K="0"),
            "configuration clock above 100 MHz": lambda d: d.update(Clock_Frequency="100.5"),
            "Cm above 19": lambda d: d.update(FFE_CM=20),
            "BOOST above 15": lambda d: d.update(BOOST=16),
            "swing off the 48 mV steps": lambda d: d.update(DIFFERENTIAL_SWING="700mV"),
            "PLL in lower case": lambda d: d.update(PLL_Selection="qpll0"),
            "lane name with another case": lambda d: d.update(JESD204B_Lane0_connect_with="q0 lane0"),
            "third quad": lambda d: d["recordlanes"].__setitem__(0, "Q2 Lane0"),
            "lane listed twice": lambda d: d["recordlanes"].__setitem__(1, "Q0 Lane0"),
            "lane count disagrees with recorded lanes": lambda d: d.update(Number_of_lanes="7"),
            "two core modes": lambda d: d.update(Receive=True),
            "no core mode": lambda d: d.update(Both_Receive_and_Transmit=False),
            "both PCS widths": lambda d: d.update(Pcs_Width_32bit=True),
            "module starting with a digit": lambda d: d.update(module="0core"),
            "file name with a slash": lambda d: d.update(file="a/b"),
        }
        for name, change in cases.items():
            with self.subTest(case=name):
                self.assertInvalid("parameter-set", mutated(good, change), name)
        receive_cases = {
            "pattern generator in receive mode": lambda d: d.update(Include_RPAT_Generator=True),
        }
        transmit = mutated(load(os.path.join(EXAMPLES, "tx_2lane.json")),
                           lambda d: d.update(LMFC_Buffer="512"))
        self.assertInvalid("parameter-set", transmit, "LMFC buffer in transmit mode")
        for name, change in receive_cases.items():
            with self.subTest(case=name):
                self.assertInvalid("parameter-set", mutated(rx, change), name)

    def test_broken_designs_fail_schema_and_program(self):
        good = load(os.path.join(EXAMPLES, "designs", "quillan_q1.json"))
        cases = {
            "unknown top-level entry": lambda d: d.update(lane=[]),
            "misspelt lane field": lambda d: d["lanes"][0].update(ownr="x"),
            "status word": lambda d: d["lanes"][0].update(status="duplex"),
            "status 4": lambda d: d["lanes"][0].update(status=4),
            "lane in lower case": lambda d: d["lanes"][0].update(lane="q1_lane0"),
            "PLL QPLL2": lambda d: d["plls"][0].update(pll="Q1_QPLL2"),
            "VCO as a word": lambda d: d["plls"][0].update(vcoGHz="fast"),
            "PLL without reference clock": lambda d: d["plls"][0].pop("refClock"),
            "reference clock REFCLK4": lambda d: d["refClocks"][0].update(source="Q1_REFCLK4"),
            "use count 0": lambda d: d["refClocks"][0].update(useCount=0),
            "bias 16": lambda d: d["globalData"].update(Q1_BIAS=16),
            "global reset as text": lambda d: d["globalData"].update(GLOBAL_RESET_ENABLE="yes"),
            "list in global data": lambda d: d["globalData"].update(other=[1]),
            "instance without lanes": lambda d: d["instances"][0].pop("lanes"),
            "transmit source on a receiver": lambda d: d["lanes"][2].update(txSource="CPLL"),
            "pll table field": lambda d: d.update(pllTable={"QPLL1": {"scope": "lane"}}),
            "unknown PLL type": lambda d: d.update(pllTable={"QPLL2": {}}),
        }
        params = os.path.join(EXAMPLES, "rx_2lane.json")
        out = fresh_dir("broken-designs")
        for name, change in cases.items():
            with self.subTest(case=name):
                broken = mutated(good, change)
                self.assertInvalid("design", broken, name)
                path = os.path.join(out, "design.json")
                with open(path, "w", encoding="utf-8") as f:
                    json.dump(broken, f)
                result = run("check", params, "--design", path, "--device", "TQ2H4-FF676")
                self.assertEqual(result.returncode, 2, f"{name}: {result.stderr}")

    def test_broken_reports_and_snapshots(self):
        report = json.loads(run("resources", os.path.join(EXAMPLES, "tx_2lane.json")).stdout)
        for name, change in {
            "list missing": lambda d: d.pop("laneList"),
            "extra member": lambda d: d.update(laneCount=2),
            "lane of a third quad": lambda d: d["laneList"].__setitem__(0, "Q2_LANE0_TX"),
            "rate as a number": lambda d: d["txRateList"].__setitem__(0, 4.9152),
        }.items():
            with self.subTest(case=name):
                self.assertInvalid("resources", mutated(report, change), name)

        out = fresh_dir("broken-snapshot")
        self.assertEqual(run("configure", "--device", "TQ2H4-FF676", "--snapshot", out).returncode, 0)
        snapshot = load(os.path.join(out, "dialog.json"))
        widgets = lambda d: d["tabs"][1]["widgets"]
        for name, change in {
            "tab without image": lambda d: d["tabs"][0].pop("image"),
            "widget without enabled state": lambda d: widgets(d)["lineRate"].pop("enabled"),
            "unknown widget field": lambda d: widgets(d)["lineRate"].update(geometry=[0, 0, 1, 1]),
            "spin box value as text": lambda d: widgets(d)["lineRate"].update(value="3"),
            "Qt's own part listed": lambda d: widgets(d).update(
                qt_spinbox_lineedit={"class": "QLineEdit", "enabled": True, "visible": True}),
            "pin on a third side": lambda d: d["figurePins"][0].update(side=2),
            "device missing": lambda d: d.pop("device"),
        }.items():
            with self.subTest(case=name):
                self.assertInvalid("dialog-snapshot", mutated(snapshot, change), name)

    def test_broken_plans_and_verdicts(self):
        plan = json.loads(run("plan", "--json", "--fs", "1000", "--l", "4", "--m", "2", "--s",
                              "1", "--np", "16", "--device", "TQ2H4-FF676").stdout)
        for name, change in {
            "K above 32": lambda d: d.update(K=40),
            "ILAS with 13 octets": lambda d: d["ilas"][0]["octets"].pop(),
            "octet above 255": lambda d: d["ilas"][0]["octets"].__setitem__(0, 256),
            "clock below the dialog's range": lambda d: d["clocking"][0].update(refClockMHz=25),
            "unknown PLL": lambda d: d["clocking"][0].update(pll="LCPLL"),
            "clocking without dividers": lambda d: d["clocking"][0].pop("dividers"),
            "lane rate as text": lambda d: d.update(laneRateGbps="10"),
            "errors missing": lambda d: d.pop("errors"),
        }.items():
            with self.subTest(case=name):
                self.assertInvalid("link-plan", mutated(plan, change), name)

        verdict = json.loads(run("check", "--json", os.path.join(EXAMPLES, "rx_2lane.json")).stdout)
        for name, change in {
            "module missing": lambda d: d.pop("module"),
            "feasible as text": lambda d: d.update(feasible="yes"),
            "reasons on a feasible verdict": lambda d: d.update(reasons=[]),
            "infeasible without reasons": lambda d: d.update(feasible=False),
            "lane of a third quad": lambda d: d["lanes"][0].update(lane="Q2_LANE0"),
            "unknown direction": lambda d: d["lanes"][0].update(direction="both"),
            "divider as text": lambda d: d["lanes"][0]["dividers"].update(M="1"),
            "clock as text": lambda d: d["lanes"][0].update(refClockMHz="122.88"),
        }.items():
            with self.subTest(case=name):
                self.assertInvalid("check-verdict", mutated(verdict, change), name)


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
