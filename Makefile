# The two set-up commands of the README, plus the pieces they are made of.
#   make demo   ferrox on the simulated board (a short CLI capture without a display);
#               builds the three programs only
#   make test   sanitizer build, every test
#   make bench  Release build, the benchmark programs
RELEASE_DIR ?= build
TEST_DIR    ?= build-test
JOBS        ?= $(shell nproc)

.PHONY: demo test bench bootstrap release programs test-build clean
PROGRAMS = ferrox ferrox-cli ferrox-board

bootstrap:
	@scripts/bootstrap

CONFIGURE_RELEASE = cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release

release: bootstrap
	$(CONFIGURE_RELEASE)
	cmake --build $(RELEASE_DIR) -j $(JOBS)

programs: bootstrap
	$(CONFIGURE_RELEASE)
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target $(PROGRAMS)

test-build: bootstrap
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFERROX_SANITIZE=ON -DFERROX_BENCHMARKS=ON
	cmake --build $(TEST_DIR) -j $(JOBS)

test: test-build
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

demo: programs
	scripts/demo $(RELEASE_DIR)

bench: release
	scripts/bench $(RELEASE_DIR)

clean:
	rm -rf $(RELEASE_DIR) $(TEST_DIR)
