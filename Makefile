# make run   : install what is missing, build optimised (build-run/), start the TV user interface
# make test  : install what is missing, build, run every test (and each fuzz target briefly)
# make walks : the long run of the random walks (WALKS=3000 SEED=20261209)
# make explore : every key and event in every state a key reaches, from every start (DEPTH=2 BUDGET=0)
# make sample-media : sample photos, songs and a movie in build-run/sample-media, and the default wallpaper
# make bench : optimised build and the benchmarks
# make shots : renew the scenes' pinned pictures (docs/screens/, tests/scenes/pinned-*.txt) and list what changed
# make fuzz  : clang build of the fuzz targets, each run for a short while
# make mutants UNIT=src/units/NAME [N=30] [SEED=1] : faults planted one at a time into a unit, and whether its tests notice
BUILD ?= build
JOBS ?= $(shell nproc)
# ccache shares objects between checkouts (CI's clone and a working copy):
# paths under the checkout count relative to it, the build folder's not at all.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60

.PHONY: setup build run sample-media test walks explore shots bench fuzz mutants clean

setup:
	@./tools/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_C_FLAGS_DEBUG="-g -O1" $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# An optimised build without sanitizers or the collector's verifier, in its
# own folder, for people running the TV interface; `make test` keeps the
# sanitised debug build.
# Without a --media-dir of its own, the run plugs the sample stick.
RUN_BUILD ?= build-run
run: sample-media
	@cmake --build $(RUN_BUILD) -j $(JOBS) --target tvui
	cd $(RUN_BUILD) && ./tvui $(if $(findstring --media-dir,$(ARGS)),,--media-dir sample-media) $(ARGS)

# Generated here, nothing downloaded; the default wallpaper lies in the
# working folder under the name the program gives it.
sample-media: setup
	@cmake -S . -B $(RUN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTVUI_SANITIZE=OFF -DTVUI_VERIFY=OFF -DTVUI_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(RUN_BUILD) -j $(JOBS) --target sample_media
	@cd $(RUN_BUILD) && ./sample_media sample-media default_wallpaper.jpg

# The suite runs twice: as it is, and with a collection after every pass;
# the entries labelled heapcheck (the media readers built without sanitizers,
# run with glibc's heap checking and under valgrind) run in the first pass only.
# Then the fuzz targets are built with clang and each runs a short,
# repeatable stretch (fixed seed, a fixed number of inputs, nothing merged into
# the corpora), so that they cannot break unseen and CI does not fail on luck.
TEST_FUZZ_SECONDS ?= 10
TEST_FUZZ_RUNS ?= 20000
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(BUILD) && KV_COLLECT_EVERY_PASS=1 ctest --output-on-failure -j $(JOBS) -LE heapcheck
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS) FUZZ_MERGE=0 FUZZ_FLAGS="-seed=1 -runs=$(TEST_FUZZ_RUNS)"

# The long run of the random walks (tests/walks): WALKS walks from seed SEED
# over JOBS processes; each broken rule is printed once with its shrunk key
# script (docs/testing.md).
WALKS ?= 3000
SEED ?= 20261209
walks: build
	@./tools/walks.sh $(BUILD)/walks_tests $(WALKS) $(SEED) $(JOBS)

# The whole exploration (tests/explore): from every start of the walks,
# every key and event in every state, breadth first, DEPTH keys deep at
# least (the menu pages five) and deeper for BUDGET seconds a start, over JOBS
# processes; prints the states and steps covered from each start and every
# broken rule with its shrunk script (docs/testing.md).
# It plays in an optimised build of its own without the sanitizers (the
# picture and rule checks stay): the same states and steps for a third of
# the CPU; `make test`'s share keeps the sanitised build.
DEPTH ?= 2
BUDGET ?= 0
EXPLORE_BUILD ?= build-explore
explore: setup
	@cmake -S . -B $(EXPLORE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTVUI_SANITIZE=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(EXPLORE_BUILD) -j $(JOBS) --target explore_tests
	@./tools/explore.sh $(EXPLORE_BUILD)/explore_tests $(DEPTH) $(BUDGET) $(JOBS)

# Plays every scene in each of its languages (ctest's scene_ entries, JOBS at
# a time) and renews the pinned pictures of the shots that changed: the
# English PNGs in docs/screens/, the Spanish and French digests in
# tests/scenes/pinned-spa.txt and pinned-fre.txt. Then lists every changed
# picture with its difference, to be looked at before committing
# (docs/testing.md, "Pinned pictures").
shots: build
	@rm -rf $(BUILD)/scene-shots/changed $(BUILD)/scene-shots/renewed
	@cd $(BUILD) && TVUI_RENEW_SHOTS=$(abspath $(BUILD))/scene-shots/renewed ctest -R '^scene_' -j $(JOBS) \
	  --output-on-failure >scene-shots.log 2>&1; status=$$?; \
	  for l in spa fre; do ./shot_compare merge $(CURDIR)/tests/scenes/pinned-$$l.txt scene-shots/renewed/$$l \
	    $(CURDIR)/tests/scenes || exit 2; done; \
	  $(CURDIR)/tools/changed_shots.sh $(abspath $(BUILD))/scene-shots/changed; \
	  [ $$status -eq 0 ] || { grep -E '^scene .*: ' scene-shots.log | grep -v ': ok$$'; \
	    echo "make shots: some scenes failed (their pictures are not renewed): $(BUILD)/scene-shots.log"; exit 1; }

bench: setup
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTVUI_SANITIZE=OFF -DTVUI_VERIFY=OFF -DTVUI_TESTS=OFF -DTVUI_BENCH=ON >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@cd build-bench && all=$$(date +%s) && for f in $(CURDIR)/bench/*.cpp; do b=bench_$$(basename $$f .cpp); echo "== $$b"; s=$$(date +%s); \
	  ./$$b || exit 1; \
	  echo "== $$b took $$(( $$(date +%s) - s )) s (load: $$(cut -d' ' -f1-3 /proc/loadavg))"; done; \
	  echo "== all benchmarks took $$(( $$(date +%s) - all )) s"

# Each target runs FUZZ_SECONDS on a scratch copy of its corpus; the inputs that
# reach new code are then merged into fuzz/corpus/<target>/ (seeds and kept
# crash inputs stay; FUZZ_MERGE=0 merges nothing). Crashes land in
# build-fuzz/crashes/.
FUZZ_MERGE ?= 1
fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTVUI_SANITIZE=ON -DTVUI_TESTS=OFF -DTVUI_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzzers
	@mkdir -p build-fuzz/crashes
	@cd build-fuzz && for f in fuzz_*; do n=$${f#fuzz_}; c=$(CURDIR)/fuzz/corpus/$$n; \
	  echo "== $$f"; rm -rf work/$$n && mkdir -p work/$$n $$c && \
	  ./$$f -max_total_time=$(FUZZ_SECONDS) $(FUZZ_FLAGS) -close_fd_mask=3 -artifact_prefix=crashes/$$n- work/$$n $$c \
	    >work/$$n.log 2>&1; rc=$$?; grep -aE "INITED|DONE|ERROR|SUMMARY|Test unit written" work/$$n.log; \
	  [ $$rc -eq 0 ] || { tail -60 work/$$n.log; exit 1; }; \
	  [ "$(FUZZ_MERGE)" != 1 ] || ./$$f -merge=1 -close_fd_mask=3 $$c work/$$n 2>&1 | grep -aE "MERGE-OUTER: [0-9]+ new files"; \
	done

# Plants N seeded faults one at a time into UNIT's .cpp files, rebuilds and
# runs the unit's tests after each, and prints every fault with caught or
# survived (tools/mutants.py, docs/testing.md). Its own build folder: no
# sanitizers for speed, the test build's checks on, warnings not fatal (a
# planted fault may leave a variable unused). ONLY=3,7 replays those
# mutants of the same seed.
MUT_BUILD ?= build-mutants
N ?= 30
SEED ?= 1
ONLY ?=
mutants: setup
	@test -n "$(UNIT)" || { echo "usage: make mutants UNIT=src/units/NAME [N=30] [SEED=1] [ONLY=3,7]"; exit 2; }
	@cmake -S . -B $(MUT_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g0 -O1" -DCMAKE_C_FLAGS_DEBUG="-g0 -O1" \
	  -DTVUI_SANITIZE=OFF -DTVUI_VERIFY=ON -DTVUI_WERROR=OFF $(CMAKE_FLAGS) >/dev/null
	@python3 tools/mutants.py --unit $(UNIT) --n $(N) --seed $(SEED) --build $(MUT_BUILD) --jobs $(JOBS) $(if $(ONLY),--only $(ONLY))

clean:
	rm -rf $(BUILD) $(RUN_BUILD) build-bench build-fuzz $(MUT_BUILD) $(EXPLORE_BUILD)
